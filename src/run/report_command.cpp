// Argument handling of the report command, and the path from the folder's files to the written
// page: read, align, rebuild the optima, match them against an enumeration, then write.
#include "run/report_command.h"

#include <optional>

#include "analysis/recorded_schedules.h"
#include "analysis/report_analysis.h"
#include "input/input_error.h"
#include "input/instance_reader.h"
#include "report/html_report.h"
#include "report/report_csv.h"
#include "report/report_json.h"
#include "report/schedules_csv.h"
#include "results/file_digest.h"
#include "results/optima_file.h"
#include "results/output_clash.h"
#include "results/result_files.h"
#include "results/result_records.h"
#include "support/bounded_file.h"
#include "support/failure.h"
#include "support/number_format.h"
#include "support/option_parser.h"
#include "support/text_file_output.h"

namespace jobshop {

namespace {

constexpr const char* kCommandName = "jobshop-niching report";
constexpr const char* kDefaultOutputName = "report.html";

struct ReportOptions {
  std::string folder;  // "" or ending in '/'
  std::string output;
  std::string csv;
  std::string schedulesCsv;
  std::string json;
};

const CommandOptions& reportOptions() {
  static const CommandOptions options{
      .options = {helpOption(),
                  {.name = "--dir",
                   .takesValue = true,
                   .emptyValueIsMissing = true,
                   .valueName = "DIR",
                   .description = "the folder of the instance and its results (default: the "
                                  "current folder)"},
                  {.name = "--output",
                   .takesValue = true,
                   .emptyValueIsMissing = true,
                   .valueName = "FILE",
                   .description = "the page to write (default: DIR/report.html)"},
                  {.name = "--csv",
                   .takesValue = true,
                   .emptyValueIsMissing = true,
                   .valueName = "FILE",
                   .description = "also write one row per run to this CSV file"},
                  {.name = "--schedules-csv",
                   .takesValue = true,
                   .emptyValueIsMissing = true,
                   .valueName = "FILE",
                   .description = "also write one row per distinct schedule to this CSV file"},
                  {.name = "--json",
                   .takesValue = true,
                   .emptyValueIsMissing = true,
                   .valueName = "FILE",
                   .description = "also write every figure of the page to this JSON file"}},
      .wording = {.unknown = "unexpected argument {}"},
      .usage = kReportUsage,
      .purpose =
          "Writes a self-contained HTML page on the runs recorded in DIR, never changing "
          "its files.",
  };
  return options;
}

int usage(std::ostream& err, const std::string& why) {
  err << kCommandName << ": " << why << "\n" << kReportUsage << "\n";
  return 2;
}

// The outputs asked for, by option name, the page first.
std::vector<std::pair<const char*, const std::string*>> outputsOf(const ReportOptions& options) {
  std::vector<std::pair<const char*, const std::string*>> outputs{{"--output", &options.output}};
  const std::pair<const char*, const std::string*> optional[] = {
      {"--csv", &options.csv},
      {"--schedules-csv", &options.schedulesCsv},
      {"--json", &options.json}};
  for (const auto& output : optional) {
    if (!output.second->empty()) outputs.push_back(output);
  }
  return outputs;
}

// Why an output would replace one of the folder's files (by name, also one missing so far, which
// the next run would append to, or as the same file under another name or a link) or another
// output, if one would.
MaybeFailure outputConflict(const ReportOptions& options) {
  const std::vector<std::string> records = folderRecordFiles(options.folder);
  const auto outputs = outputsOf(options);
  for (const auto& output : outputs) {
    if (const std::optional<std::string> input = clashingFile(*output.second, records))
      return Failure{clashReason(*output.second, *input)};
  }
  for (std::size_t later = 1; later < outputs.size(); ++later) {
    for (std::size_t earlier = 0; earlier < later; ++earlier) {
      if (sameFileOrPlace(*outputs[later].second, *outputs[earlier].second)) {
        return Failure{std::string(outputs[later].first) + " and " + outputs[earlier].first +
                       " name the same file"};
      }
    }
  }
  return std::nullopt;
}

bool writeOutput(const std::string& path, const std::string& text, const char* what,
                 std::ostream& err) {
  const MaybeFailure failure = writeTextFile(path, text, WriteMode::kReplace);
  if (!failure) return true;
  err << kCommandName << ": cannot write the " << what << " " << path << ": " << failure->reason
      << "\n";
  return false;
}

// The options, or nothing (with the refusal or the help shown) when there is nothing to report;
// status receives the exit status then.
std::optional<ReportOptions> readOptions(const std::vector<std::string>& args, std::ostream& out,
                                         std::ostream& err, int& status) {
  const ParsedOptions parsed = parseOptions(args, reportOptions());
  status = 0;
  if (!parsed.refusal.empty()) {
    status = usage(err, parsed.refusal);
    return std::nullopt;
  }
  if (parsed.has("--help")) {
    out << commandHelp(reportOptions());
    return std::nullopt;
  }
  ReportOptions options{parsed.valueOr("--dir", ""), parsed.valueOr("--output", ""),
                        parsed.valueOr("--csv", ""), parsed.valueOr("--schedules-csv", ""),
                        parsed.valueOr("--json", "")};
  if (!options.folder.empty() && options.folder.back() != '/') options.folder += '/';
  if (options.output.empty()) options.output = options.folder + kDefaultOutputName;
  if (const MaybeFailure conflict = outputConflict(options)) {
    status = usage(err, conflict->reason);
    return std::nullopt;
  }
  return options;
}

// Why an enumeration is of another "D_Entrada.txt" than the folder's, by the digest it recorded;
// nothing when it is of this one or recorded none (files written before the digest was).
MaybeFailure foreignEnumeration(const std::string& folder, const EnumeratedOptima& enumeration) {
  if (enumeration.instanceSha256.empty()) return std::nullopt;
  const std::optional<std::string> bytes =
      readWholeFile(folder + kInstanceFileName, kMaxInputFileBytes);
  if (bytes && sha256Hex(*bytes) == enumeration.instanceSha256) return std::nullopt;
  return Failure{std::string(kEnumeratedOptimaFileName) +
                 " counts the schedules of another D_Entrada.txt (its instanceSha256 is not the "
                 "digest of the folder's); the report leaves it aside"};
}

// The schedules the optima command counted; nothing for a folder it never visited, which reports
// as before, or for one whose count is of another instance.
std::optional<EnumeratedOptima> enumerationOf(const std::string& folder, ResultRecords& records) {
  OptimaInFolder enumeration = loadEnumeratedOptima(folder);
  if (!enumeration) {
    records.problems.push_back(enumeration.reason());
    return std::nullopt;
  }
  if (*enumeration) {
    if (const MaybeFailure foreign = foreignEnumeration(folder, **enumeration)) {
      records.problems.push_back(foreign->reason);
      return std::nullopt;
    }
  }
  return std::move(*enumeration);
}

// "wrote A", "wrote A and B", "wrote A, B and C": every file written, the page first.
void confirmWritten(const ReportOptions& options, const ResultRecords& records, std::ostream& out) {
  const auto outputs = outputsOf(options);
  out << "wrote ";
  for (std::size_t k = 0; k < outputs.size(); ++k) {
    if (k > 0) out << (k + 1 == outputs.size() ? " and " : ", ");
    out << *outputs[k].second;
  }
  out << " (" << countOf(static_cast<std::int64_t>(records.runs.size()), "run", "runs");
  if (!records.problems.empty())
    out << ", "
        << countOf(static_cast<std::int64_t>(records.problems.size()), "problem", "problems");
  out << ")\n";
}

// The schedules CSV and the JSON.
bool writeMachineReadable(const ReportOptions& options, const Instance& instance,
                          const ResultRecords& records, const ReportAnalysis& analysis,
                          std::ostream& err) {
  bool written = true;
  if (!options.schedulesCsv.empty())
    written = writeOutput(options.schedulesCsv,
                          schedulesCsv(analysis.optima, analysis.coverage, analysis.map),
                          "schedules CSV file", err);
  if (!options.json.empty())
    written =
        writeOutput(options.json, reportJson(instance, records, analysis), "JSON file", err) &&
        written;
  return written;
}

}  // namespace

int runReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  int status = 0;
  const std::optional<ReportOptions> options = readOptions(args, out, err, status);
  if (!options) return status;
  Instance instance;
  try {
    std::vector<std::string> warnings;
    instance = readInstance(options->folder + kInstanceFileName, &warnings);
    for (const std::string& warning : warnings) err << kCommandName << ": " << warning << "\n";
  } catch (const InputError& error) {
    err << kCommandName << ": " << error.message << "\n";
    return 1;
  }
  ResultRecords records = loadResultRecords(options->folder, instance);
  const std::vector<std::vector<SemiActiveSchedule>> schedules =
      rebuildRecordedSchedules(records.runs, instance, records.problems);
  std::optional<EnumeratedOptima> enumeration = enumerationOf(options->folder, records);
  const ReportAnalysis analysis = analyseReport(instance, records, std::move(enumeration));
  for (const std::string& problem : records.problems)
    err << kCommandName << ": " << problem << "\n";
  bool written = writeOutput(options->output,
                             htmlReport(options->folder, instance, records, schedules, analysis),
                             "report", err);
  if (!options->csv.empty())
    written = writeOutput(options->csv,
                          reportCsv(records.runs, analysis.runFigures, records.log,
                                    analysis.coverage, analysis.runMeasures),
                          "CSV file", err) &&
              written;
  if (!options->schedulesCsv.empty() || !options->json.empty())
    written = writeMachineReadable(*options, instance, records, analysis, err) && written;
  if (written) confirmWritten(*options, records, out);
  return written && records.problems.empty() ? 0 : 1;
}

}  // namespace jobshop
