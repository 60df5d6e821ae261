// The report command: one self-contained HTML page on the runs recorded in a folder's result files,
// and on request the same in forms that scripts read.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace jobshop {

inline constexpr const char* kReportUsage =
    "usage: jobshop-niching report [--dir DIR] [--output FILE] [--csv FILE] "
    "[--schedules-csv FILE] "
    "[--json FILE]";

// Handles the options of kReportUsage (args without the word "report"): reads DIR's "D_Entrada.txt"
// and five result files (the current folder without --dir), never changing them, and writes the
// page to FILE (default DIR/"report.html"), and when asked the per-run table (--csv), one row per
// distinct schedule (--schedules-csv) and every figure as JSON (--json). An output that names an
// input or another output is a usage error. Every disagreement between the files is listed on err
// and at the top of the page. Returns 0 when every output was written and the files agree; 1 when
// the instance cannot be read, the files disagree or an output cannot be written (what could be
// aligned is still written); 2 for a usage error (reason and usage on err). `--help` prints the
// usage on out and returns 0.
int runReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace jobshop
