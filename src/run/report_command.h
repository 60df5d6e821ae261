// The report command: one self-contained HTML page (and optionally a CSV table) on the runs
// recorded in a folder's result files.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace jobshop {

inline constexpr const char* kReportUsage =
    "usage: jobshop-niching report [--dir DIR] [--output FILE] [--csv FILE]";

// Handles `[--dir DIR] [--output FILE] [--csv FILE]` (args without the word "report"): reads
// DIR's "D_Entrada.txt" and five result files (the current folder without --dir), never changing
// them, and writes the page to FILE (default DIR/"report.html") and the per-run table to the CSV
// file when asked. Every disagreement between the files is listed on err and at the top of the
// page. Returns 0 when both were written and the files agree; 1 when the instance cannot be read,
// the files disagree or an output cannot be written (what could be aligned is still written);
// 2 for a usage error (reason and usage on err). `--help` prints the usage on out and returns 0.
int runReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace jobshop
