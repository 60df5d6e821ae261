// Fuzzing "D_Algoritmo.txt": every text is either refused with a one-line readable message or read
// into parameters under which a run is well defined and ends.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_checks.h"
#include "input/input_error.h"
#include "input/line_reader.h"
#include "input/parameter_reader.h"

using namespace jobshop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    std::vector<std::string> warnings;
    const Parameters p =
        parseParameterLines(splitLines(fuzzText(data, size)), "D_Algoritmo.txt", &warnings);
    fuzzCheck(warnings.size() <= 1, "one warning at most: the first lossy line");
    for (const std::string& warning : warnings) {
      fuzzCheck(warning.rfind("D_Algoritmo.txt, línea ", 0) == 0,
                "a warning names the file and line");
      fuzzCheck(isPrintableUtf8(warning), "a warning is printable UTF-8 on one line");
    }
    fuzzCheck(p.populationSize >= 2 && p.populationSize % 2 == 0,
              "an even population of 2 or more");
    fuzzCheck(p.mateCandidates >= 1 && p.crowdingGroups >= 1 && p.crowdingGroupSize >= 1,
              "at least one candidate, group and group member");
    fuzzCheck(std::int64_t{p.crowdingGroups} * p.crowdingGroupSize <= p.populationSize,
              "no more group places than individuals");
    fuzzCheck(p.segmentWrapCrossoverEnabled || p.cycleCrossoverEnabled ||
                  p.segmentFillCrossoverEnabled || p.maskKeepCrossoverEnabled ||
                  p.maskReorderCrossoverEnabled || p.segmentInsertCrossoverEnabled ||
                  p.precedenceCrossoverEnabled,
              "some crossover enabled");
    fuzzCheck(
        p.crossoverPercent >= 0 || p.mutationPercent >= 0 || p.maxEvaluations <= p.populationSize,
        "a budget beyond the population can be reached");
  } catch (const InputError& error) {
    fuzzCheck(!error.cannotOpen(), "text in memory is never 'cannot open'");
    fuzzCheck(error.message.rfind("D_Algoritmo.txt, línea ", 0) == 0,
              "a refusal names the file and line");
    fuzzCheck(isPrintableUtf8(error.message), "a refusal is printable UTF-8 on one line");
  }
  return 0;
}
