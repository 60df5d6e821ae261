// What the campaign tests share: running the built program's campaign command, and a campaign
// folder with its instances beside the campaign file.
#pragma once

#include <string>

#include "program_runner.h"

namespace jobshop {

// `jobshop-niching campaign ARGUMENTS`.
Captured campaign(const std::string& arguments);

// A new folder holding campaign.toml with the given text, instances/small.txt (standard format,
// 2 jobs × 3 machines) and D_Entrada.txt (the same instance).
std::string campaignSource(const std::string& toml);

// What reading, or reading and planning, a campaign file holding toml refuses, from the file's
// name on; "(not refused)" when it is accepted.
std::string readingRefusal(const std::string& toml);
std::string planningRefusal(const std::string& toml);

inline const char* const kStandardInstance =
    "# two jobs, three machines\n2 3\n0 3 1 2 2 4\n2 1 0 2 1 5\n";
inline const char* const kInputInstance = "2\n3\n10\n3 2 4\n2 5 1\n1 2 3\n3 1 2\n";

// Eight quick executions: two instances × two settings × two repetitions of two runs each.
inline const char* const kSmallCampaign = R"(name = "small"
repetitions = 2
base_seed = 40
[instances]
small = { file = "instances/small.txt", target = 10 }
given = "D_Entrada.txt"
[parameters]
populationSize = [6, 8]
maxEvaluations = 300
runCount = 2
crowdingGroups = 2
crowdingGroupSize = 3
mateCandidates = 2
)";

}  // namespace jobshop
