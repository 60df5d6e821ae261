// Argument handling of the campaign subcommands and what each prints.
#include "run/campaign_command.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

#include "campaigns/campaign_collect.h"
#include "campaigns/campaign_file.h"
#include "campaigns/campaign_plan.h"
#include "campaigns/campaign_runner.h"
#include "campaigns/campaign_status.h"
#include "campaigns/cluster_task.h"
#include "campaigns/execution_launch.h"
#include "campaigns/execution_state.h"
#include "campaigns/manifest.h"
#include "campaigns/output_check.h"
#include "campaigns/sbatch_script.h"
#include "campaigns/slurm_campaign.h"
#include "input/input_error.h"
#include "report/campaign_page.h"
#include "report/collected_runs_csv.h"
#include "report/collection_json.h"
#include "report/summary_table.h"
#include "results/file_digest.h"
#include "results/output_clash.h"
#include "run/report_command.h"
#include "support/bounded_file.h"
#include "support/interruption.h"
#include "support/nearest_name.h"
#include "support/option_parser.h"
#include "support/text_file_output.h"
#include "support/text_files.h"

namespace jobshop {

namespace fs = std::filesystem;

namespace {

constexpr const char* kCommandName = "jobshop-niching campaign";

struct UsageError {
  std::string why;
};

// A subcommand and what it takes: its options and its one operand, a campaign file or folder.
struct Subcommand {
  const char* verb;
  CommandOptions command;
};

const OperandHelp kFolderOperand{"DIR", "the campaign folder that plan wrote"};

OptionSpec valueOption(const char* name, const char* valueName, const char* description) {
  return {.name = name, .takesValue = true, .valueName = valueName, .description = description};
}

Subcommand subcommand(const char* verb, const char* usage, const char* purpose,
                      std::vector<OptionSpec> options, OperandHelp operand = kFolderOperand) {
  options.insert(options.begin(), helpOption());
  return {verb, CommandOptions{.options = std::move(options),
                               .maxOperands = 1,
                               .usage = usage,
                               .purpose = purpose,
                               .operandHelp = {std::move(operand)}}};
}

const std::vector<Subcommand>& subcommands() {
  static const std::vector<Subcommand> all{
      subcommand(
          "plan", kCampaignPlanUsage,
          "Lays out every execution of the campaign file in a folder, keeping what exists.",
          {valueOption("--into", "DIR", "the campaign folder (default: the campaign's name)")},
          {"FILE", "the campaign file (TOML)"}),
      subcommand("run", kCampaignRunUsage,
                 "Runs every execution of the campaign that is not done, on this machine.",
                 {valueOption("--jobs", "K", "executions at once (default: one per core)")}),
      subcommand(
          "slurm", kCampaignSlurmUsage,
          "Writes DIR/campaign.sbatch, a Slurm job array of the pending executions.",
          {{.name = "--submit", .description = "submit it with sbatch and record the job's id"},
           valueOption("--partition", "P", "the partition of the job (sbatch --partition)"),
           valueOption("--time", "T", "the time limit of each task (sbatch --time)"),
           valueOption("--per-task", "N", "executions per array task (default: 1)"),
           valueOption("--max-running", "K", "at most K tasks running at once")}),
      subcommand(
          "run-one", kCampaignRunOneUsage,
          "Runs one array task's executions one after the other (what a cluster task runs).",
          {valueOption("--task", "ID", "the task: its line in the task list, from 0"),
           valueOption("--tasks", "FILE", "the task list (default: DIR/slurm/tasks-1.tsv)")}),
      subcommand("status", kCampaignStatusUsage,
                 "Counts the executions done, pending, failed and running.", {}),
      subcommand(
          "collect", kCampaignCollectUsage,
          "Compares the settings: a table on standard output, a page and a CSV of every run.",
          {valueOption("--html", "FILE", "the page (default: DIR/campaign.html)"),
           valueOption("--csv", "FILE", "one row per run (default: DIR/runs.csv)"),
           valueOption("--json", "FILE", "the page's figures and the settings compared, as JSON"),
           {.name = "--reports", .description = "also write each finished execution's report"}}),
  };
  return all;
}

// The options after the verb; "--help" is answered by the caller.
ParsedOptions readArguments(const std::vector<std::string>& args, const Subcommand& subcommand) {
  ParsedOptions parsed =
      parseOptions(std::vector<std::string>(args.begin() + 1, args.end()), subcommand.command);
  if (!parsed.refusal.empty()) throw UsageError{parsed.refusal};
  if (!parsed.has("--help") && parsed.operands.empty())
    throw UsageError{"expected a campaign file or folder"};
  return parsed;
}

std::string unknownVerb(const std::string& verb) {
  std::vector<std::string> verbs;
  for (const Subcommand& subcommand : subcommands()) verbs.emplace_back(subcommand.verb);
  std::string why = "unknown campaign command \"" + verb + "\"";
  if (const std::optional<std::string> nearest = nearestName(verb, verbs))
    why += " (did you mean " + *nearest + "?)";
  return why;
}

int positiveNumber(const ParsedOptions& parsed, const std::string& option, int fallback) {
  const std::optional<std::string> given = parsed.value(option);
  if (!given) return fallback;
  const std::string& text = *given;
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1)
    throw UsageError{option + " needs a whole number of at least 1, found \"" + text + "\""};
  return value;
}

std::string folderPath(const std::string& text) {
  return text.empty() || text.back() == '/' ? text : text + "/";
}

int plan(const ParsedOptions& parsed, std::ostream& out) {
  const CampaignFile campaign = readCampaignFile(parsed.operands.front());
  const std::string into = folderPath(parsed.valueOr("--into", campaign.name));
  const std::vector<PlannedExecution> executions = planCampaign(campaign);
  if (const MaybeFailure clash = planOverwritesInput(campaign, executions, into))
    throw UsageError{"the plan would write over its own input: " + clash->reason};
  const LayoutSummary summary = layOutCampaign(campaign, executions, into);
  out << "planned " << executions.size() << " executions in " << into << " (" << summary.added
      << " new, " << summary.kept << " kept";
  if (summary.total > static_cast<int>(executions.size()))
    out << ", " << summary.total - static_cast<int>(executions.size()) << " from earlier plans";
  out << ")\n";
  return 0;
}

int defaultJobs() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(cores);
}

void listFailures(const std::vector<ExecutionFailure>& failures, std::ostream& err) {
  for (const ExecutionFailure& failure : failures) {
    err << kCommandName << ": " << failure.folder << " failed";
    std::string errors = failure.errors;
    while (!errors.empty() && errors.back() == '\n') errors.pop_back();
    if (!errors.empty()) err << ":\n  " << errors;
    err << "\n";
  }
}

int run(const ParsedOptions& parsed, std::ostream& out, std::ostream& err) {
  const std::string folder = folderPath(parsed.operands.front());
  const std::vector<PlannedExecution> executions = readManifest(folder);
  RunnerOptions options;
  options.jobs = positiveNumber(parsed, "--jobs", defaultJobs());
  options.program = selfProgramPath();
  const RunnerReport report = runCampaign(folder, executions, options);
  out << report.done << " executions run, " << report.alreadyDone << " already done, "
      << report.failures.size() << " failed";
  if (report.skipped > 0) out << ", " << report.skipped << " running elsewhere";
  if (report.failedElsewhere > 0)
    out << ", " << report.failedElsewhere << " failed in another runner";
  out << " (" << report.planned << " planned)\n";
  listFailures(report.failures, err);
  if (report.stopSignal != 0) {
    err << kCommandName << ": stopped; the executions left are pending (run again to continue)\n";
    return interruptedExitStatus(report.stopSignal);
  }
  return report.failures.empty() ? 0 : 1;
}

// A whole number of at least 0 for --task.
int taskNumber(const std::string& text) {
  int task = -1;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), task);
  if (error != std::errc() || end != text.data() + text.size() || task < 0)
    throw UsageError{"--task needs a whole number of at least 0, found \"" + text + "\""};
  return task;
}

int runOne(const ParsedOptions& parsed, std::ostream& err) {
  const std::string folder = folderPath(parsed.operands.front());
  const std::optional<std::string> task = parsed.value("--task");
  if (!task) throw UsageError{"run-one needs --task ID"};
  const int number = taskNumber(*task);
  const std::string tasks = parsed.valueOr("--tasks", folder + "slurm/tasks-1.tsv");
  const std::vector<PlannedExecution> executions = readManifest(folder);
  const std::vector<std::string> folders = slurmTaskFolders(tasks, number);
  if (folders.empty()) throw InputError{tasks + ": expected task " + *task + ", found none"};
  const std::vector<ExecutionFailure> failures =
      runClusterTask(folder, executions, folders, selfProgramPath());
  listFailures(failures, err);
  return failures.empty() ? 0 : 1;
}

// The submitted job's id in the campaign folder, unless the file is linked to what the campaign
// is read from.
MaybeFailure recordSlurmJob(const std::string& folder, const std::string& id) {
  const std::string path = folder + kSlurmJobFileName;
  if (const std::optional<std::string> input =
          clashingFile(path, {folder + kManifestFileName, folder + "campaign.toml"}))
    return Failure{clashReason(path, *input)};
  return writeTextFile(path, id + "\n", WriteMode::kReplace);
}

int slurm(const ParsedOptions& parsed, std::ostream& out, std::ostream& err) {
  const std::string folder = folderPath(parsed.operands.front());
  const std::vector<PlannedExecution> executions = readManifest(folder);
  SlurmOptions options;
  options.partition = parsed.valueOr("--partition", "");
  options.timeLimit = parsed.valueOr("--time", "");
  options.perTask = positiveNumber(parsed, "--per-task", 1);
  if (parsed.has("--max-running")) options.maxRunning = positiveNumber(parsed, "--max-running", 1);
  options.program = selfProgramPath();
  // The job is named after the campaign folder ("dir/" normalises to a path whose parent is dir).
  const std::string name =
      fs::absolute(folder).lexically_normal().parent_path().filename().string();
  const SlurmPlan job =
      writeSlurmJob(folder, name.empty() ? "campaign" : name, executions, options);
  if (job.tasks == 0) {
    out << "nothing pending: every execution is done\n";
    return 0;
  }
  out << "wrote " << job.scriptPath << ": " << job.tasks << " array tasks for " << job.executions
      << " pending executions\n";
  if (!parsed.has("--submit")) return 0;
  const OrFailure<std::string> submitted = submitSbatch(job.scriptPath);
  if (!submitted) {
    err << kCommandName << ": " << submitted.reason() << "\n";
    return 1;
  }
  const std::string& id = *submitted;
  const MaybeFailure failure = recordSlurmJob(folder, id);
  if (failure) {
    err << kCommandName << ": submitted job " << id << " but cannot record it in " << folder
        << kSlurmJobFileName << ": " << failure->reason << "\n";
    return 1;
  }
  out << "submitted job " << id << "\n";
  return 0;
}

int status(const ParsedOptions& parsed, std::ostream& out) {
  const std::string folder = folderPath(parsed.operands.front());
  const CampaignStatus counts = campaignStatus(folder, readManifest(folder));
  out << counts.done << " done, " << counts.pending << " pending, " << counts.failed << " failed, "
      << counts.running << " running (" << counts.planned << " planned)\n";
  for (const auto& [host, count] : counts.runningOnOtherHosts)
    out << count << " of the running are claimed by host " << host
        << ", which this host cannot look into: they are never taken over from here (if " << host
        << " is gone, delete their running markers to run them again)\n";
  if (const auto id = readWholeFile(folder + kSlurmJobFileName, kMaxMarkerFileBytes)) {
    std::string job = *id;
    while (!job.empty() && (job.back() == '\n' || job.back() == '\r')) job.pop_back();
    const std::string state = slurmJobState(job);
    out << (state.empty() ? "slurm job " + job + " (its state is unknown here)" : state) << "\n";
  }
  return 0;
}

// Where collect writes: the page, the CSV and, when asked for, the JSON.
struct CollectOutputs {
  std::string html, csv;
  std::optional<std::string> json;
};

// Collecting reads the manifest, the campaign file and every file of the instance and execution
// folders; no output may be one of them, nor another output.
void checkCollectOutputs(const std::string& folder, const std::vector<PlannedExecution>& executions,
                         const CollectOutputs& outputs) {
  std::vector<std::pair<const char*, std::string>> written{{"--html", outputs.html},
                                                           {"--csv", outputs.csv}};
  if (outputs.json) written.emplace_back("--json", *outputs.json);
  for (std::size_t i = 0; i < written.size(); ++i)
    for (std::size_t j = i + 1; j < written.size(); ++j)
      if (sameFileOrPlace(written[i].second, written[j].second))
        throw UsageError{std::string(written[i].first) + " and " + written[j].first +
                         " name the same file " + written[j].second};
  std::vector<std::string> inputs{folder + kManifestFileName, folder + "campaign.toml"};
  std::set<std::string> instances;
  for (const PlannedExecution& e : executions) {
    if (instances.insert(e.instance).second)
      for (const std::string& file : filesIn(folder + e.instance + "/")) inputs.push_back(file);
    for (const std::string& file : filesIn(folder + e.folder + "/")) inputs.push_back(file);
  }
  for (const auto& [option, output] : written) {
    if (const std::optional<std::string> input = clashingFile(output, inputs))
      throw UsageError{"collecting would write over its own input: " + output + " is " + *input};
  }
}

// "a and b", or "a, b and c".
std::string writtenFiles(const CollectOutputs& outputs) {
  if (!outputs.json) return outputs.html + " and " + outputs.csv;
  return outputs.html + ", " + outputs.csv + " and " + *outputs.json;
}

// The campaign's name from the folder's copy of its file; the folder's own name when the file gives
// none (the folder was then named after the original file) or the folder holds no copy. A copy
// that cannot be read costs the page only its title, so it is a warning: the results are all there.
std::string campaignTitle(const std::string& folder, std::ostream& err) {
  const std::string file = folder + "campaign.toml";
  std::error_code ignored;
  if (fs::is_regular_file(file, ignored)) {
    try {
      const CampaignFile campaign = readCampaignFile(file);
      if (campaign.nameGiven) return campaign.name;
    } catch (const InputError& error) {
      err << "warning: " << error.message << "; the page is titled with the folder's name\n";
    }
  }
  return fs::absolute(folder).lexically_normal().parent_path().filename().string();
}

int collect(const ParsedOptions& parsed, std::ostream& out, std::ostream& err) {
  const std::string folder = folderPath(parsed.operands.front());
  const std::vector<PlannedExecution> executions = readManifest(folder);
  const CollectOutputs outputs{parsed.valueOr("--html", folder + "campaign.html"),
                               parsed.valueOr("--csv", folder + "runs.csv"),
                               parsed.value("--json")};
  checkCollectOutputs(folder, executions, outputs);
  const CampaignAnalysis analysis = collectCampaign(folder, executions);
  bool ok = true;
  if (parsed.has("--reports")) {
    std::ostringstream quiet;
    for (const PlannedExecution& e : executions)
      if (executionState(folder + e.folder + "/") == ExecutionState::kDone)
        ok = runReportCommand({"--dir", folder + e.folder}, quiet, quiet) == 0 && ok;
  }
  const std::string title = campaignTitle(folder, err);
  std::vector<std::pair<std::string, std::string>> files{
      {outputs.html, campaignPage(title, analysis, folder, outputs.html)},
      {outputs.csv, collectedRunsCsv(analysis)}};
  if (outputs.json) files.emplace_back(*outputs.json, collectionJson(analysis));
  for (const auto& [path, text] : files) {
    const MaybeFailure failure = writeTextFile(path, text, WriteMode::kReplace);
    if (failure) {
      err << kCommandName << ": cannot write " << path << ": " << failure->reason << "\n";
      ok = false;
    }
  }
  out << summaryTable(analysis);
  for (const std::string& problem : analysis.problems)
    err << kCommandName << ": " << problem << "\n";
  // Standard output holds the table alone, so that it can be redirected into a file as it is.
  if (!analysis.unfinished.empty())
    err << analysis.unfinished.size() << " of " << executions.size()
        << " executions are not finished and are left out\n";
  err << "wrote " << writtenFiles(outputs) << "\n";
  return ok && analysis.problems.empty() ? 0 : 1;
}

int runSubcommand(const std::string& verb, const ParsedOptions& parsed, std::ostream& out,
                  std::ostream& err) {
  if (verb == "plan") return plan(parsed, out);
  if (verb == "run") return run(parsed, out, err);
  if (verb == "run-one") return runOne(parsed, err);
  if (verb == "slurm") return slurm(parsed, out, err);
  if (verb == "status") return status(parsed, out);
  return collect(parsed, out, err);
}

// A file grown past the process's size limit (RLIMIT_FSIZE) fails its write with EFBIG instead of
// killing the command, so that the failure is reported and nothing temporary is left; children
// get the default back.
struct FileSizeSignalIgnored {
  struct sigaction previous {};
  FileSizeSignalIgnored() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, &previous);
  }
  ~FileSizeSignalIgnored() { sigaction(SIGXFSZ, &previous, nullptr); }
  FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
  FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;
};

}  // namespace

std::string campaignUsage() {
  std::string usage;
  for (const Subcommand& subcommand : subcommands()) {
    // "usage: " begins the first line only; the others line up below it.
    if (!usage.empty()) usage += "\n       ";
    usage += subcommand.command.usage.substr(usage.empty() ? 0 : 7);
  }
  return usage;
}

std::string campaignHelp() {
  std::string help;
  for (const Subcommand& subcommand : subcommands())
    help += subcommand.command.usage + "\n    " + subcommand.command.purpose + "\n";
  return help + "Each subcommand's options: jobshop-niching campaign SUBCOMMAND --help\n";
}

int runCampaignCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const FileSizeSignalIgnored fileSizeSignal;
  try {
    if (args.empty()) throw UsageError{"expected plan, run, slurm, run-one, status or collect"};
    const std::string& verb = args[0];
    if (verb == "--help" || verb == "-h") {
      out << campaignHelp();
      return 0;
    }
    for (const Subcommand& subcommand : subcommands()) {
      if (verb != subcommand.verb) continue;
      const ParsedOptions parsed = readArguments(args, subcommand);
      if (parsed.has("--help")) {
        out << commandHelp(subcommand.command);
        return 0;
      }
      return runSubcommand(verb, parsed, out, err);
    }
    throw UsageError{unknownVerb(verb)};
  } catch (const UsageError& usage) {
    err << kCommandName << ": " << usage.why << "\n" << campaignUsage() << "\n";
    return 2;
  } catch (const InputError& error) {
    err << kCommandName << ": " << error.message << "\n";
    return 1;
  }
}

}  // namespace jobshop
