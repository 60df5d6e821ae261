// What every Slurm batch script of the program is made of, and its submission.
#pragma once

#include <string>
#include <vector>

#include "support/failure.h"

namespace jobshop {

// Single quotes for the shell, each inner quote closed, escaped and reopened.
std::string shellQuoted(const std::string& text);

// "#SBATCH OPTION=TEXT" for job names, partitions and times: one line, no shell characters (any
// other character becomes '_').
std::string sbatchDirective(const char* option, const std::string& text);

// Submits the script with `sbatch --parsable`, the options first; the job's id, or why not (sbatch
// missing, refused or silent).
OrFailure<std::string> submitSbatch(const std::string& scriptPath,
                                    const std::vector<std::string>& options = {});

}  // namespace jobshop
