// Argument handling, the run of the exact count and the summary of the optima command.
#include "run/optima_command.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <thread>

#include "exact/count_search_choice.h"
#include "exact/disjunctive_graph.h"
#include "exact/optimum_search.h"
#include "exact/parallel_count.h"
#include "exact/subtree_sample.h"
#include "exact/tree_estimate.h"
#include "input/input_error.h"
#include "input/instance_reader.h"
#include "results/count_checkpoint.h"
#include "results/file_digest.h"
#include "results/optima_file.h"
#include "results/output_clash.h"
#include "run/count_only_optima.h"
#include "run/disjunctive_optima.h"
#include "run/earlier_optima_list.h"
#include "run/optima_backbone_lines.h"
#include "run/optima_pieces.h"
#include "run/optima_workers.h"
#include "support/bounded_file.h"
#include "support/interruption.h"
#include "support/memory_limits.h"
#include "support/option_parser.h"
#include "support/text_file_output.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

constexpr const char* kCommandName = "jobshop-niching optima";

struct OptimaOptions {
  std::optional<int> bound;
  bool optimum = false;
  std::string list;
  std::optional<std::int64_t> limit;
  std::optional<double> timeLimit;
  int threads = 0;  // 0: one per core
  std::optional<std::size_t> memoryMb;
  std::optional<std::int64_t> probes;
  std::optional<int> sample;              // subtrees counted for the sample estimate
  std::optional<std::int64_t> pilot;      // its pilot's nodes per subtree
  std::optional<std::int64_t> unitNodes;  // a sampled subtree's allowance before it is estimated
  std::optional<std::uint64_t> seed;
  bool resume = false;
  int piece = 0;  // from 1; 0 when the whole tree is counted here
  int pieces = 0;
  bool merge = false;
  int workers = 0;  // pieces counted by this many worker processes here, then merged
  int split = 0;    // --pieces: the number of pieces of --workers or --slurm
  bool slurm = false;
  SlurmSubmission submission;
  std::optional<CountSearch> search;  // nothing: auto
  bool backbone = false;
  std::string folder;
  bool force = false;
  bool help = false;
  std::string error;
};

template <typename Number>
std::optional<Number> parseWhole(const std::string& text, Number least) {
  Number value{};
  const char* end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || stop != end || value < least) return std::nullopt;
  return value;
}

// The most pieces one count is cut into: the cut has eight subtrees per piece, and cutting the
// tree that finely already costs as much as a small count.
constexpr int kMostPieces = 4096;

// "K/N" with 1 <= K <= N <= kMostPieces into o; false when it is not that.
bool parsePiece(const std::string& text, OptimaOptions& o) {
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos) return false;
  const std::optional<int> piece = parseWhole<int>(text.substr(0, slash), 1);
  const std::optional<int> pieces = parseWhole<int>(text.substr(slash + 1), 1);
  if (!piece || !pieces || *pieces > kMostPieces || *piece > *pieces) return false;
  o.piece = *piece;
  o.pieces = *pieces;
  return true;
}

std::optional<double> parseSeconds(const std::string& text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || stop != end || !(value > 0) || value > 1e9) {
    return std::nullopt;
  }
  return value;
}

// Stores the value of an option of the count spread over workers or a Slurm array.
MaybeFailure takeSpreadValue(OptimaOptions& o, const std::string& name, const std::string& value) {
  if (name == "--workers" || name == "--max-running") {
    const std::optional<int> number = parseWhole<int>(value, 1);
    if (!number || *number > 1024)
      return Failure{name + " needs a whole number from 1 to 1024, found \"" + value + "\""};
    if (name == "--workers")
      o.workers = *number;
    else
      o.submission.maxRunning = *number;
    return std::nullopt;
  }
  if (name == "--pieces") {
    const std::optional<int> pieces = parseWhole<int>(value, 1);
    if (!pieces || *pieces > kMostPieces) {
      return Failure{"--pieces needs a whole number from 1 to " + std::to_string(kMostPieces) +
                     ", found \"" + value + "\""};
    }
    o.split = *pieces;
    return std::nullopt;
  }
  if (value.empty()) return Failure{name + " needs a non-empty value"};
  (name == "--partition" ? o.submission.partition : o.submission.timeLimit) = value;
  return std::nullopt;
}

// Stores the value of an option of the estimates made beside the count.
MaybeFailure takeEstimateValue(OptimaOptions& o, const std::string& name,
                               const std::string& value) {
  if (name == "--estimate") {
    o.probes = parseWhole<std::int64_t>(value, 1);
    if (!o.probes)
      return Failure{"--estimate needs a number of probes from 1, found \"" + value + "\""};
    return std::nullopt;
  }
  if (name == "--sample") {
    o.sample = parseWhole<int>(value, 2);
    if (!o.sample || *o.sample > 1000000)
      return Failure{"--sample needs a number of subtrees from 2 to 1000000, found \"" + value +
                     "\""};
    return std::nullopt;
  }
  if (name == "--pilot") {
    o.pilot = parseWhole<std::int64_t>(value, 0);
    if (!o.pilot) return Failure{"--pilot needs a number of nodes from 0, found \"" + value + "\""};
    return std::nullopt;
  }
  if (name == "--unit-nodes") {
    o.unitNodes = parseWhole<std::int64_t>(value, 0);
    if (!o.unitNodes)
      return Failure{"--unit-nodes needs a number of nodes from 0, found \"" + value + "\""};
    return std::nullopt;
  }
  if (name == "--seed") {
    o.seed = parseWhole<std::uint64_t>(value, 0);
    if (!o.seed) return Failure{"--seed needs a whole number from 0, found \"" + value + "\""};
    return std::nullopt;
  }
  return Failure{"unknown estimate option " + name};
}

// Stores the value of option `name`; nothing on success, the reason otherwise.
MaybeFailure takeValue(OptimaOptions& o, const std::string& name, const std::string& value) {
  for (const char* spread : {"--workers", "--max-running", "--pieces", "--partition", "--time"})
    if (name == spread) return takeSpreadValue(o, name, value);
  for (const char* estimate : {"--estimate", "--sample", "--pilot", "--unit-nodes", "--seed"})
    if (name == estimate) return takeEstimateValue(o, name, value);
  if (name == "--bound") {
    o.bound = parseWhole<int>(value, 0);
    if (!o.bound) return Failure{"--bound needs a whole number from 0, found \"" + value + "\""};
    return std::nullopt;
  }
  if (name == "--limit") {
    o.limit = parseWhole<std::int64_t>(value, 1);
    if (!o.limit) return Failure{"--limit needs a whole number from 1, found \"" + value + "\""};
    return std::nullopt;
  }
  if (name == "--threads") {
    const std::optional<int> threads = parseWhole<int>(value, 1);
    if (!threads || *threads > 1024) {
      return Failure{"--threads needs a whole number from 1 to 1024, found \"" + value + "\""};
    }
    o.threads = *threads;
    return std::nullopt;
  }
  if (name == "--memory") {
    o.memoryMb = parseWhole<std::size_t>(value, 16);
    if (!o.memoryMb || *o.memoryMb > (std::size_t{1} << 30)) {
      return Failure{"--memory needs a number of megabytes from 16, found \"" + value + "\""};
    }
    return std::nullopt;
  }
  if (name == "--piece") {
    if (parsePiece(value, o)) return std::nullopt;
    return Failure{"--piece needs K/N, piece K of N pieces with 1 <= K <= N <= " +
                   std::to_string(kMostPieces) + ", found \"" + value + "\""};
  }
  if (name == "--search") {
    o.search = parseCountSearch(value);
    if (!o.search) {
      return Failure{"--search needs states, disjunctive or auto, found \"" + value + "\""};
    }
    return std::nullopt;
  }
  if (name == "--time-limit") {
    o.timeLimit = parseSeconds(value);
    if (!o.timeLimit)
      return Failure{"--time-limit needs a number of seconds above 0, found \"" + value + "\""};
    return std::nullopt;
  }
  if (value.empty()) return Failure{name + " needs a non-empty value"};
  (name == "--list" ? o.list : o.folder) = value;
  return std::nullopt;
}

const CommandOptions& optimaOptions() {
  static const CommandOptions options{
      .options = {helpOption(),
                  {.name = "--optimum",
                   .description = "find and prove the smallest makespan first, then count at it"},
                  {.name = "--bound",
                   .takesValue = true,
                   .valueName = "T",
                   .description = "count the schedules of makespan <= T (default: the target)"},
                  {.name = "--list",
                   .takesValue = true,
                   .valueName = "FILE",
                   .description = "also write every counted schedule to FILE, one per line"},
                  {.name = "--limit",
                   .takesValue = true,
                   .valueName = "K",
                   .description = "stop once more than K are known"},
                  {.name = "--time-limit",
                   .takesValue = true,
                   .valueName = "S",
                   .description = "stop after S seconds; the count is then a lower bound"},
                  {.name = "--memory",
                   .takesValue = true,
                   .valueName = "MB",
                   .description = "the count's table of known counts holds at most MB megabytes "
                                  "(default: 6144, or half the memory limit it runs under); a "
                                  "smaller table only makes the count slower"},
                  {.name = "--resume",
                   .description = "go on with the count that optima-checkpoint.json holds"},
                  {.name = "--estimate",
                   .takesValue = true,
                   .valueName = "P",
                   .description = "also estimate the total by P random probes of the search tree"},
                  {.name = "--sample",
                   .takesValue = true,
                   .valueName = "N",
                   .description = "also estimate the total with a 95 % interval by counting a "
                                  "random sample of N subtrees exactly"},
                  {.name = "--pilot",
                   .takesValue = true,
                   .valueName = "NODES",
                   .description = "--sample's pilot walks NODES in each subtree and settles those "
                                  "it finishes (default: 4096; 0: no pilot)"},
                  {.name = "--unit-nodes",
                   .takesValue = true,
                   .valueName = "NODES",
                   .description = "--sample counts a sampled subtree within NODES, or else "
                                  "estimates it by going down a random branch of it (default: "
                                  "16384; 0: count each to the end)"},
                  {.name = "--seed",
                   .takesValue = true,
                   .valueName = "S",
                   .description = "the seed of the estimate's probes and sample (default: 1)"},
                  {.name = "--piece",
                   .takesValue = true,
                   .valueName = "K/N",
                   .description = "count only piece K of N of the tree and write "
                                  "optima-piece-K-of-N.json, for --merge"},
                  {.name = "--merge",
                   .description = "add up the folder's optima-piece-K-of-N.json into optima.json"},
                  {.name = "--workers",
                   .takesValue = true,
                   .valueName = "W",
                   .description = "count the pieces left as W worker processes here, then merge "
                                  "them"},
                  {.name = "--pieces",
                   .takesValue = true,
                   .valueName = "N",
                   .description = "the number of pieces of --workers (default: 4 per worker) or "
                                  "--slurm"},
                  {.name = "--slurm",
                   .description = "write optima.sbatch, a Slurm job array of the pieces left, and "
                                  "optima-merge.sbatch, their merge"},
                  {.name = "--submit",
                   .description = "with --slurm: submit both with sbatch, the merge after the "
                                  "array"},
                  {.name = "--partition",
                   .takesValue = true,
                   .valueName = "P",
                   .description = "with --slurm: the partition of the jobs (sbatch --partition)"},
                  {.name = "--time",
                   .takesValue = true,
                   .valueName = "T",
                   .description = "with --slurm: the time limit of each task (sbatch --time)"},
                  {.name = "--max-running",
                   .takesValue = true,
                   .valueName = "K",
                   .description = "with --slurm: at most K tasks running at once"},
                  {.name = "--search",
                   .takesValue = true,
                   .valueName = "S",
                   .description = "count by the search states (appending operations), disjunctive "
                                  "(ordering machine pairs) or auto (default: chosen per "
                                  "instance; the count is the same)"},
                  {.name = "--backbone",
                   .description = "also find the pairs of jobs on a machine that every counted "
                                  "schedule orders the same way, into optima.json (with --piece: "
                                  "the orders the piece's schedules realise, for the merge)"},
                  {.name = "--threads",
                   .takesValue = true,
                   .valueName = "K",
                   .description = "worker threads (default: one per core)"},
                  {.name = "--force",
                   .description = "replace optima.json even when the list it names would be "
                                  "left unnamed"},
                  {.name = "--dir",
                   .takesValue = true,
                   .valueName = "DIR",
                   .description = "the folder of D_Entrada.txt and optima.json (default: the "
                                  "current folder)"}},
      .wording = {.unknown = "unknown argument {}"},
      .usage = kOptimaUsage,
      .purpose = "Counts exactly the semi-active schedules within a makespan bound.",
  };
  return options;
}

// Why the options do not go with --piece or --merge, or "". A piece is written whole or not at
// all, so it takes no time limit: a stopped piece is run again.
std::string piecesConflict(const OptimaOptions& o, bool listing) {
  const bool piece = o.pieces > 0;
  if (piece && o.merge) return "--piece and --merge exclude each other";
  if (!piece && !o.merge) return "";
  const std::string which = piece ? "--piece" : "--merge";
  if (listing || o.optimum || o.resume || o.probes || o.timeLimit) {
    return which +
           " goes with a count without --list, --limit, --optimum, --resume, --estimate or "
           "--time-limit (a stopped piece is run again with the same --piece)";
  }
  if (o.merge && (o.memoryMb || o.threads > 0)) {
    return "--merge adds up counts already made: --memory and --threads are for the pieces";
  }
  return "";
}

// Why the options do not go with --workers or --slurm, or "".
std::string spreadConflict(const OptimaOptions& o, bool listing) {
  const bool slurmOnly = o.submission.submit || !o.submission.partition.empty() ||
                         !o.submission.timeLimit.empty() || o.submission.maxRunning;
  if (slurmOnly && !o.slurm)
    return "--submit, --partition, --time and --max-running go with --slurm";
  if (o.split > 0 && o.workers == 0 && !o.slurm) return "--pieces goes with --workers or --slurm";
  if (o.workers == 0 && !o.slurm) return "";
  const std::string which = o.slurm ? "--slurm" : "--workers";
  if (o.slurm && o.workers > 0) return "--workers and --slurm exclude each other";
  if (o.slurm && o.split == 0) return "--slurm needs --pieces N, the number of array tasks";
  if (o.pieces > 0 || o.merge)
    return which + " counts and merges the pieces itself: no --piece or --merge";
  if (listing || o.optimum || o.resume || o.probes || o.timeLimit) {
    return which +
           " goes with a count without --list, --limit, --optimum, --resume, --estimate or "
           "--time-limit (a stopped piece is counted again when the command runs again)";
  }
  return "";
}

// Why the options of the estimates made beside the count do not go together; "" when they do.
std::string estimateConflict(const OptimaOptions& o, bool listing) {
  if (o.seed && !o.probes && !o.sample) return "--seed is the seed of --estimate's probes";
  if (o.pilot && !o.sample) return "--pilot is the pilot of --sample";
  if (o.unitNodes && !o.sample) return "--unit-nodes is the allowance of --sample's subtrees";
  if (o.sample && listing) return "--sample goes with a count without --list or --limit";
  if (o.sample && (o.pieces > 0 || o.merge || o.workers > 0 || o.slurm))
    return "--sample goes with a whole count";
  return "";
}

OptimaOptions readOptions(const std::vector<std::string>& args) {
  const ParsedOptions parsed = parseOptions(args, optimaOptions());
  OptimaOptions o;
  // The options before a refused argument are taken first, so that the first fault is the one told.
  for (const GivenOption& option : parsed.given) {
    if (option.name == "--help") {
      o.help = true;
    } else if (option.name == "--optimum") {
      o.optimum = true;
    } else if (option.name == "--force") {
      o.force = true;
    } else if (option.name == "--resume") {
      o.resume = true;
    } else if (option.name == "--merge") {
      o.merge = true;
    } else if (option.name == "--slurm") {
      o.slurm = true;
    } else if (option.name == "--submit") {
      o.submission.submit = true;
    } else if (option.name == "--backbone") {
      o.backbone = true;
    } else {
      if (const MaybeFailure why = takeValue(o, option.name, option.value)) {
        o.error = why->reason;
        return o;
      }
    }
  }
  o.error = parsed.refusal;
  if (!o.error.empty()) return o;
  const bool listing = !o.list.empty() || o.limit;
  if (o.optimum && o.bound) o.error = "--bound and --optimum exclude each other";
  if (o.resume && (listing || o.optimum)) {
    o.error = "--resume goes on with a count without --list, --limit or --optimum";
  }
  if (o.memoryMb && listing) o.error = "--memory is for a count without --list or --limit";
  if (o.error.empty()) o.error = estimateConflict(o, listing);
  if (o.error.empty()) o.error = spreadConflict(o, listing);
  if (o.error.empty()) o.error = piecesConflict(o, listing);
  if (o.error.empty() && o.search == CountSearch::kDisjunctive &&
      (listing || o.resume || o.memoryMb || o.pieces > 0 || o.merge || o.workers > 0 || o.slurm ||
       o.backbone)) {
    o.error =
        "--search disjunctive counts without --list, --limit, --resume, --memory, --piece, "
        "--merge, --workers, --slurm or --backbone, which are the state search's";
  }
  // Subtrees counted before a stop left no trace of their schedules' orders, and a limited list
  // holds only some of the schedules; the pieces of a count each hand theirs to the merge.
  if (o.error.empty() && o.backbone && (o.resume || o.limit)) {
    o.error =
        "--backbone goes with a count that sees every schedule it counts, without --resume or "
        "--limit";
  }
  return o;
}

// The list's path as seen from the folder, so that a reader of the folder finds it.
std::string listPathFromFolder(const std::string& list, const std::string& folder) {
  std::error_code ignored;
  const std::filesystem::path file = std::filesystem::absolute(list, ignored);
  const std::filesystem::path dir =
      std::filesystem::absolute(folder.empty() ? "." : folder, ignored);
  const std::filesystem::path relative =
      file.lexically_normal().lexically_relative(dir.lexically_normal());
  return relative.empty() ? file.string() : relative.string();
}

// Nothing, or why the outputs cannot be written: neither optima.json, its checkpoint nor the list
// may land on the instance or on another of the folder's files (the list an earlier count named may
// be written again), and the list must not be the summary written after it.
MaybeFailure outputConflict(const OptimaOptions& o) {
  const std::string folder = pathInFolder(o.folder, "");
  const std::string jsonPath = folder + kEnumeratedOptimaFileName;
  const std::string checkpointPath = folder + kCountCheckpointFileName;
  const std::vector<std::string> records = folderRecordFiles(folder);
  const std::vector<std::string> others = filesOtherThan(records, {jsonPath, checkpointPath});
  for (const std::string& output : {jsonPath, checkpointPath}) {
    if (const std::optional<std::string> input = clashingFile(output, others))
      return Failure{clashReason(output, *input)};
  }
  if (o.list.empty()) return std::nullopt;
  if (sameFileOrPlace(o.list, jsonPath)) {
    return Failure{"--list " + o.list + " is the " + kEnumeratedOptimaFileName +
                   " the command writes"};
  }
  if (const std::optional<std::string> input =
          clashingFile(o.list, filesOtherThan(folderOwnFiles(folder), {jsonPath})))
    return Failure{"--list " + clashReason(o.list, *input)};
  return std::nullopt;
}

using Deadline = StopCondition::Deadline;

// The instance counted from, or nothing (with the reason shown) when it is refused or too large.
std::optional<Instance> readCountedInstance(const OptimaOptions& options, std::ostream& out,
                                            std::ostream& err) {
  Instance instance;
  std::vector<std::string> warnings;
  try {
    instance = readInstance(pathInFolder(options.folder, kInstanceFileName), &warnings);
  } catch (const InputError& error) {
    if (error.cannotOpen()) {
      out << error.message << std::flush;
    } else {
      err << error.message << "\n";
    }
    return std::nullopt;
  }
  // Worded and shown as the main run shows them: the count takes the values the warnings name.
  for (const std::string& warning : warnings) err << warning << "\n";
  if (instance.jobs > kMaxSearchJobs) {
    err << kCommandName << ": the exact search handles at most " << kMaxSearchJobs
        << " jobs, the instance has " << instance.jobs << "\n";
    return std::nullopt;
  }
  return instance;
}

Deadline deadlineOf(const OptimaOptions& options, std::chrono::steady_clock::time_point started) {
  if (!options.timeLimit) return std::nullopt;
  return started + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                       std::chrono::duration<double>(*options.timeLimit));
}

struct OptimaCount {
  EnumeratedOptima summary;
  bool listKept = false;  // the earlier list is still named, as the list of this count
  bool timedOut = false;
  std::int64_t nodes = 0;
  int threads = 0;
  std::optional<CountOnlyOutcome> countOnly;  // the count without a list, when it was one
  bool byPairOrders = false;                  // the disjunctive search counted
  int interruption = 0;                       // the signal that stopped it, 0 when none did
  std::int64_t trialNodes = 0;                // the nodes of auto's trial of the disjunctive search
  bool estimateTooLarge = false;
  std::chrono::steady_clock::time_point started;  // when the command started
};

OptimaCount startCount(const OptimaOptions& options, const Instance& instance,
                       std::chrono::steady_clock::time_point started) {
  OptimaCount count;
  count.started = started;
  count.summary.jobs = instance.jobs;
  count.summary.machines = instance.machines;
  const std::optional<std::string> bytes =
      readWholeFile(pathInFolder(options.folder, kInstanceFileName), kMaxInputFileBytes);
  if (bytes) count.summary.instanceSha256 = sha256Hex(*bytes);
  count.summary.bound = options.bound.value_or(instance.targetMakespan);
  count.threads = options.threads > 0
                      ? options.threads
                      : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  return count;
}

// The estimate, when asked, made before the count so that it is there however the count ends.
// False when the estimate is too large to hold.
bool estimateWhenAsked(const OptimaOptions& options, const SearchProblem& problem,
                       const StopCondition& stop, EnumeratedOptima& summary) {
  if (!options.probes) return true;
  const std::uint64_t seed = options.seed.value_or(1);
  const TreeEstimate estimate = estimateTree(problem, {summary.bound, *options.probes, seed, stop});
  // A guess beyond the range of a double has no place in optima.json: it is only said.
  if (!std::isfinite(estimate.estimate) || !std::isfinite(estimate.standardError)) return false;
  summary.estimate =
      OptimaEstimate{estimate.estimate, estimate.standardError, estimate.probes, seed};
  return true;
}

// The sample's stop: the count's, with half the time left to its deadline, so that the count
// keeps the other half (and whatever the sample leaves).
StopCondition sampleShare(const StopCondition& stop) {
  StopCondition share = stop;
  if (stop.deadline) {
    const auto now = std::chrono::steady_clock::now();
    if (*stop.deadline > now) share.deadline = now + (*stop.deadline - now) / 2;
  }
  return share;
}

// The sample estimate, when asked, made before the count with the count's threads and table size,
// so that it is there however the count ends.
void sampleWhenAsked(const OptimaOptions& options, const SearchProblem& problem,
                     const StopCondition& stop, OptimaCount& count) {
  if (!options.sample) return;
  SubtreeSampleRequest request;
  request.bound = count.summary.bound;
  request.sample = *options.sample;
  request.seed = options.seed.value_or(1);
  request.pilotNodes = options.pilot.value_or(kPilotNodes);
  request.unitNodes = options.unitNodes.value_or(kUnitNodes);
  request.threads = count.threads;
  request.memoryBytes = options.memoryMb.value_or(defaultCountMemoryMb(currentMemoryLimits()))
                        << 20;
  request.stop = sampleShare(stop);
  const SubtreeSampleEstimate made = estimateBySubtreeSample(problem, request);
  count.nodes += made.nodes;
  if (!made.usable) return;
  const SampleInterval& i = made.interval;
  count.summary.sampleEstimate = SampleEstimate{.value = i.value,
                                                .standardError = i.standardError,
                                                .low = i.low,
                                                .high = i.high,
                                                .level = i.level,
                                                .sampled = made.sampled,
                                                .descended = made.descended,
                                                .unsettled = made.subtrees - made.settled,
                                                .settled = made.settled,
                                                .subtrees = made.subtrees,
                                                .seed = request.seed};
}

// Counts without a list: false (with the reason shown) when it cannot run or keep its checkpoint.
bool countWithoutList(const OptimaOptions& options, const SearchProblem& problem,
                      const StopCondition& stop, OptimaCount& count, std::ostream& err) {
  CountOnlyRequest request;
  request.folder = options.folder;
  request.threads = count.threads;
  request.memoryMb = options.memoryMb.value_or(defaultCountMemoryMb(currentMemoryLimits()));
  request.started = count.started;
  request.stop = stop;
  request.resume = options.resume;
  request.orders = options.backbone;
  request.summary = &count.summary;
  count.countOnly = countOnly(problem, request);
  count.nodes += count.countOnly->nodes;
  count.timedOut = count.countOnly->timedOut;
  if (count.countOnly->failure.empty()) return true;
  err << kCommandName << ": " << count.countOnly->failure << "\n";
  return false;
}

// The count by pair orders, when it is the one: asked for, or auto's trial of it finished (or a
// stop ended it) and no option only the state search takes (a list, a limit, a resumption, a
// table size, the backbone) is given. Nothing when the state search is to count.
std::optional<DisjunctiveCountResult> pairOrderCount(const OptimaOptions& options,
                                                     const SearchProblem& problem,
                                                     const StopCondition& stop,
                                                     OptimaCount& count) {
  const CountSearch search = options.search.value_or(CountSearch::kAuto);
  const int bound = count.summary.bound;
  if (search == CountSearch::kStates) return std::nullopt;
  if (search == CountSearch::kDisjunctive) {
    return countDisjunctive(problem, {bound, count.threads, &stop});
  }
  if (!options.list.empty() || options.limit || options.resume || options.memoryMb ||
      options.backbone) {
    return std::nullopt;
  }
  const SearchTrial trial = tryDisjunctiveCount(problem, bound, stop);
  count.trialNodes = trial.trialNodes;
  return trial.counted;
}

// Finds the optimum first when asked, then counts within the bound, streaming the list to it;
// false (with the reason shown) when the list cannot be written.
bool countOptima(const OptimaOptions& options, const SearchProblem& problem,
                 const StopCondition& stop, OptimaCount& count, std::ostream& err) {
  ProgressLine progress = terminalProgressLine(false);
  EnumeratedOptima& summary = count.summary;
  if (options.optimum) {
    // Only the deadline ends the optimum's search early: a signal is for the count that follows,
    // which keeps what it counted.
    const OptimumResult optimum = findOptimum(problem, StopCondition{nullptr, stop.deadline});
    summary.bound = optimum.makespan;
    summary.optimal = optimum.proven;
    count.nodes += optimum.nodes;
  }
  count.estimateTooLarge =
      !estimateWhenAsked(options, problem, StopCondition{nullptr, stop.deadline}, summary);
  sampleWhenAsked(options, problem, stop, count);
  if (options.search == CountSearch::kDisjunctive && !fitsDisjunctiveCount(problem)) {
    err << kCommandName << ": the disjunctive search handles at most " << kMaxDisjunctiveOps
        << " operations, the instance has " << problem.jobs * problem.machines
        << ": count with --search states\n";
    return false;
  }
  if (const std::optional<DisjunctiveCountResult> counted =
          pairOrderCount(options, problem, stop, count)) {
    takePairOrderCount(*counted, summary);
    count.byPairOrders = true;
    count.nodes += counted->nodes;
    count.interruption = stop.stopSignal();
    count.timedOut = counted->timedOut && count.interruption == 0;
    summary.complete = summary.complete && (!options.optimum || summary.optimal);
    return true;
  }
  if (options.list.empty() && !options.limit) {
    if (!countWithoutList(options, problem, stop, count, err)) return false;
    summary.complete = summary.complete && (!options.optimum || summary.optimal);
    if (options.backbone && summary.complete)
      summary.backbone = backboneFromOrders(count.countOnly->seenOrders, summary);
    return true;
  }
  std::optional<StreamedTextFile> listing;
  if (!options.list.empty()) {
    listing.emplace(options.list, WriteMode::kReplace);
    if (listing->failure()) {
      err << kCommandName << ": cannot write " << options.list << " (" << listing->failure()->reason
          << ")\n";
      return false;
    }
    summary.listFile = listPathFromFolder(options.list, options.folder);
  }
  const CountRequest request{summary.bound, options.limit, stop, count.threads,
                             listing ? &listing->stream() : nullptr};
  const CountResult counted = countSchedules(problem, request, progress);
  count.nodes += counted.nodes;
  count.timedOut = counted.timedOut;
  summary.count = counted.count;
  summary.complete = counted.complete && (!options.optimum || summary.optimal);
  const MaybeFailure listFailure = listing ? listing->finish() : std::nullopt;
  if (!listFailure && options.backbone && summary.complete) {
    OrFailure<OptimaBackbone> backbone = listedBackbone(options.list, summary);
    if (!backbone) {
      err << kCommandName << ": " << backbone.reason() << "\n";
      return false;
    }
    summary.backbone = std::move(backbone).value();
  }
  if (!listFailure) return true;
  err << kCommandName << ": cannot write " << options.list << " (" << listFailure->reason << ")\n";
  return false;
}

// Whether the count may go on (before it) or replace optima.json (once counted) beside the list an
// earlier count named: it keeps naming that list when it is still the list of this count, and
// refuses to leave it unnamed unless forced; false with the refusal shown.
bool earlierListAllows(const OptimaOptions& options, const EnumeratedOptima& earlier,
                       OptimaCount& count, bool counted, std::ostream& err) {
  const MaybeFailure mismatch =
      earlierListMismatch(earlier, count.summary, !options.optimum, counted);
  if (!mismatch) {
    if (counted) {
      count.summary.listFile = earlier.listFile;
      count.listKept = true;
    }
    return true;
  }
  if (options.force) return true;
  err << kCommandName << ": "
      << earlierListRefusal(earlier, pathInFolder(options.folder, kEnumeratedOptimaFileName),
                            mismatch->reason)
      << "\n";
  return false;
}

void printSummary(const OptimaOptions& options, const OptimaCount& count, double seconds,
                  std::ostream& out) {
  const EnumeratedOptima& summary = count.summary;
  char elapsed[32];
  std::snprintf(elapsed, sizeof elapsed, "%.3f", seconds);
  out << "count " << countText(summary) << "\nbound " << summary.bound << "\ncomplete "
      << (summary.complete ? "yes" : "no") << "\n";
  if (count.listKept) out << "list " << summary.listFile << " (kept)\n";
  if (options.optimum) out << "optimum " << (summary.optimal ? "proven" : "not proven") << "\n";
  if (count.timedOut || (options.optimum && !summary.optimal)) out << "time limit reached\n";
  if (count.estimateTooLarge) out << "estimate beyond the range of a double (1.8e308)\n";
  printSearchLines(count.byPairOrders, count.trialNodes, out);
  if (count.countOnly) printCountOnlyLines(*count.countOnly, summary, out);
  if (count.byPairOrders) printPairOrderLines(summary, count.interruption, out);
  if (options.backbone) printBackboneLine(summary, out);
  out << "nodes " << count.nodes << "\nthreads " << count.threads << "\nseconds " << elapsed
      << "\n";
  out.flush();
}

// The merged count's summary: the lines of a whole count that are about the count, and the pieces.
void printMergeSummary(const OptimaCount& count, const std::vector<NamedPiece>& pieces,
                       const OptimaOptions& options, double seconds, std::ostream& out) {
  const EnumeratedOptima& summary = count.summary;
  char elapsed[32];
  std::snprintf(elapsed, sizeof elapsed, "%.3f", seconds);
  out << "count " << countText(summary) << "\nbound " << summary.bound << "\ncomplete yes\n";
  if (count.listKept) out << "list " << summary.listFile << " (kept)\n";
  out << "exact " << countText(summary) << "\nmerged " << pieces.size()
      << (pieces.size() == 1 ? " piece of " : " pieces of ") << pieces.front().piece.subtrees
      << " subtrees\n";
  if (options.workers > 0) out << "workers " << options.workers << "\n";
  if (options.backbone) printBackboneLine(summary, out);
  out << "seconds " << elapsed << "\n";
  out.flush();
}

// The backbone of the merged count into summary; false when a piece has no orders, said on err.
bool mergeBackbone(const std::vector<NamedPiece>& pieces, const Instance& instance,
                   EnumeratedOptima& summary, std::ostream& err) {
  OrFailure<OptimaBackbone> backbone = mergedBackbone(pieces, makeSearchProblem(instance), summary);
  if (!backbone) {
    err << kCommandName << ": cannot merge: " << backbone.reason() << "\n";
    return false;
  }
  summary.backbone = std::move(backbone).value();
  return true;
}

// The pieces spread over worker processes here or the tasks of a Slurm array. -1 when the pieces
// are all counted and the merge is to follow; otherwise the command's exit status, the outcome
// told.
int spreadPieces(const OptimaOptions& options, const Instance& instance, const OptimaCount& count,
                 std::ostream& out, std::ostream& err) {
  PiecesPlan plan;
  plan.folder = options.folder;
  plan.bound = count.summary.bound;
  plan.pieces = options.split > 0 ? options.split : std::min(kMostPieces, 4 * options.workers);
  plan.threads = options.threads > 0 ? options.threads : 1;
  plan.memoryMb = options.memoryMb;
  plan.orders = options.backbone;
  // The workers share this machine's memory: each gets its part of the table's limit.
  if (options.workers > 0) {
    const std::size_t whole =
        options.memoryMb.value_or(defaultCountMemoryMb(currentMemoryLimits()));
    plan.memoryMb = std::max<std::size_t>(16, whole / static_cast<std::size_t>(options.workers));
  }
  const OrFailure<std::vector<int>> left = piecesToCount(
      options.folder, makeSearchProblem(instance), count.summary, plan.pieces, options.backbone);
  if (!left) {
    err << kCommandName << ": " << left.reason() << "\n";
    return 1;
  }
  if (options.slurm) return submitPiecesToSlurm(*left, plan, options.submission, out, err);
  const WorkersOutcome workers = countPiecesHere(*left, plan, options.workers);
  if (workers.stopSignal != 0) {
    err << kCommandName << ": stopped after " << workers.counted << " of the " << left->size()
        << " pieces left; the others are counted when the command runs again\n";
    return interruptedExitStatus(workers.stopSignal);
  }
  if (workers.failed.empty()) return -1;
  for (const auto& [piece, why] : workers.failed)
    err << kCommandName << ": piece " << piece << " of " << plan.pieces << " failed (" << why
        << ")\n";
  err << kCommandName << ": cannot merge: " << workers.failed.size() << " of the " << left->size()
      << " pieces left failed (their output is kept in optima-piece-K-of-N.out and .err); run "
         "the command again to count them\n";
  return 1;
}

// Counts piece K of N alone and writes its file; the command's exit status.
int countOnePiece(const OptimaOptions& options, const Instance& instance, OptimaCount& count,
                  std::ostream& out, std::ostream& err) {
  PieceRequest request;
  request.folder = options.folder;
  request.piece = options.piece;
  request.pieces = options.pieces;
  request.threads = count.threads;
  request.memoryMb = options.memoryMb.value_or(defaultCountMemoryMb(currentMemoryLimits()));
  request.stop = StopCondition{&interruptionFlag(), std::nullopt};
  request.started = count.started;
  request.summary = &count.summary;
  request.orders = options.backbone;
  const PieceOutcome outcome = countPiece(makeSearchProblem(instance), request);
  printPieceSummary(
      request, outcome,
      std::chrono::duration<double>(std::chrono::steady_clock::now() - count.started).count(), out);
  if (!outcome.failure.empty()) {
    err << kCommandName << ": " << outcome.failure << "\n";
    return 1;
  }
  if (outcome.interruption != 0) return interruptedExitStatus(outcome.interruption);
  return 0;
}

}  // namespace

// The pieces a merge adds up, and their bound where none was given; false (with the reason
// shown) when they cannot be read.
bool readMergedPieces(OptimaOptions& options, std::vector<NamedPiece>& pieces, std::ostream& err) {
  OrFailure<std::vector<NamedPiece>> read = readPieces(options.folder);
  if (!read) {
    err << kCommandName << ": cannot merge: " << read.reason() << "\n";
    return false;
  }
  pieces = std::move(read).value();
  // The pieces' own bound, which the merge then checks every piece against.
  if (!options.bound) options.bound = pieces.front().piece.bound;
  return true;
}

int runOptimaCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  OptimaOptions options = readOptions(args);
  if (options.error.empty() && !options.help) {
    if (const MaybeFailure conflict = outputConflict(options)) options.error = conflict->reason;
  }
  if (!options.error.empty()) {
    err << kCommandName << ": " << options.error << "\n" << kOptimaUsage << "\n";
    return 2;
  }
  if (options.help) {
    out << commandHelp(optimaOptions());
    return 0;
  }
  // A count without a list stops at the first signal and keeps what it counted, from the start.
  const bool stopsOnSignal = options.list.empty() && !options.limit;
  if (stopsOnSignal) installInterruptionHandlers();
  const auto started = std::chrono::steady_clock::now();
  const std::optional<Instance> instance = readCountedInstance(options, out, err);
  if (!instance) return 1;
  std::vector<NamedPiece> pieces;
  if (options.workers > 0 || options.slurm) {
    OptimaCount plan = startCount(options, *instance, started);
    if (const int status = spreadPieces(options, *instance, plan, out, err); status >= 0)
      return status;
    options.merge = true;
  }
  if (options.merge && !readMergedPieces(options, pieces, err)) return 1;
  if (options.resume && !options.bound) {
    const OrFailure<int> bound = checkpointBound(options.folder);
    if (!bound) {
      err << kCommandName << ": " << bound.reason() << "\n";
      return 1;
    }
    options.bound = *bound;
  }
  OptimaCount count = startCount(options, *instance, started);
  if (options.pieces > 0) return countOnePiece(options, *instance, count, out, err);
  const std::optional<EnumeratedOptima> earlier =
      options.list.empty() ? earlierNamedList(options.folder) : std::nullopt;
  if (earlier && !earlierListAllows(options, *earlier, count, false, err)) return 1;
  const StopCondition stop{stopsOnSignal ? &interruptionFlag() : nullptr,
                           deadlineOf(options, started)};
  if (options.merge) {
    if (const MaybeFailure refused =
            mergePieces(pieces, makeSearchProblem(*instance), count.summary)) {
      err << kCommandName << ": cannot merge: " << refused->reason << "\n";
      return 1;
    }
    if (options.backbone && !mergeBackbone(pieces, *instance, count.summary, err)) return 1;
  } else if (!countOptima(options, makeSearchProblem(*instance), stop, count, err)) {
    return 1;
  }
  if (earlier && !earlierListAllows(options, *earlier, count, true, err)) return 1;
  const std::string jsonPath = pathInFolder(options.folder, kEnumeratedOptimaFileName);
  const MaybeFailure failure =
      writeTextFile(jsonPath, enumeratedOptimaJson(count.summary), WriteMode::kReplace);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (options.merge) {
    printMergeSummary(count, pieces, options, seconds, out);
  } else {
    printSummary(options, count, seconds, out);
  }
  if (failure) {
    err << kCommandName << ": cannot write " << jsonPath << " (" << failure->reason << ")\n";
    return 1;
  }
  if (count.countOnly && count.countOnly->interruption != 0) {
    return interruptedExitStatus(count.countOnly->interruption);
  }
  if (count.interruption != 0) return interruptedExitStatus(count.interruption);
  return 0;
}

}  // namespace jobshop
