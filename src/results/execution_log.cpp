// Reading "executions.jsonl", the main run's record of each execution (seed, clock, version,
// parameters, and per run its time, generations and evaluations).
#include "results/execution_log.h"

#include <algorithm>
#include <limits>
#include <nlohmann/json.hpp>

#include "input/niching_fields.h"
#include "results/result_files.h"
#include "support/printable_text.h"

namespace jobshop {

namespace {

using Json = nlohmann::ordered_json;

// The reason a line is refused; caught per line so that no exception leaves the reader.
struct Malformed {
  std::string reason;
};

const Json* member(const Json& object, const char* name) {
  const auto found = object.find(name);
  return found == object.end() || found->is_null() ? nullptr : &*found;
}

const Json& required(const Json& object, const char* name, const std::string& where) {
  const Json* value = member(object, name);
  if (value == nullptr) throw Malformed{where + "no field \"" + name + "\""};
  return *value;
}

std::optional<std::int64_t> optionalInteger(const Json& object, const char* name,
                                            const std::string& where) {
  const Json* value = member(object, name);
  if (value == nullptr) return std::nullopt;
  if (!value->is_number_integer()) {
    throw Malformed{where + "\"" + name + "\" should be a whole number, not " + value->dump()};
  }
  return value->get<std::int64_t>();
}

std::optional<double> optionalNumber(const Json& object, const char* name,
                                     const std::string& where) {
  const Json* value = member(object, name);
  if (value == nullptr) return std::nullopt;
  if (!value->is_number()) {
    throw Malformed{where + "\"" + name + "\" should be a number, not " + value->dump()};
  }
  return value->get<double>();
}

std::optional<bool> optionalFlag(const Json& object, const char* name, const std::string& where) {
  const Json* value = member(object, name);
  if (value == nullptr) return std::nullopt;
  if (!value->is_boolean()) {
    throw Malformed{where + "\"" + name + "\" should be true or false, not " + value->dump()};
  }
  return value->get<bool>();
}

bool flag(const Json& object, const char* name) {
  return optionalFlag(object, name, "").value_or(false);
}

// The run's offsets object: every one of the five files by name, a byte offset from 0.
std::array<std::int64_t, 5> fileOffsets(const Json& value, const std::string& where) {
  if (!value.is_object()) {
    throw Malformed{where + "\"offsets\" should be an object or null, not " + value.dump()};
  }
  std::array<std::int64_t, 5> offsets{};
  for (std::size_t file = 0; file < offsets.size(); ++file) {
    const std::optional<std::int64_t> offset =
        optionalInteger(value, kResultFileNames[file], where + "offsets: ");
    if (!offset || *offset < 0) {
      throw Malformed{where + "\"offsets\" should give " + kResultFileNames[file] +
                      " a byte offset from 0"};
    }
    offsets[file] = *offset;
  }
  return offsets;
}

std::string text(const Json& object, const char* name) {
  const Json* value = member(object, name);
  if (value == nullptr) return {};
  if (!value->is_string()) {
    throw Malformed{"\"" + std::string(name) + "\" should be a string, not " + value->dump()};
  }
  return value->get<std::string>();
}

// A count from 0 up to most, or absent; anything else no run could have written.
std::optional<std::int64_t> countUpTo(const Json& object, const char* name, std::int64_t most,
                                      const std::string& where) {
  const std::optional<std::int64_t> value = optionalInteger(object, name, where);
  if (value && (*value < 0 || *value > most)) {
    throw Malformed{where + "\"" + name + "\" cannot be " + std::to_string(*value) +
                    " (a run's count runs from 0 to " + std::to_string(most) + ")"};
  }
  return value;
}

constexpr std::int64_t kIntMost = std::numeric_limits<int>::max();
constexpr std::int64_t kCountMost = std::numeric_limits<std::int64_t>::max();

// Generations are counted in an int; the target is reached within the run's own generations and
// evaluations.
void readCounts(const Json& entry, const std::string& where, LoggedRun& run) {
  run.generations = countUpTo(entry, "generations", kIntMost, where);
  run.evaluations = countUpTo(entry, "evaluations", kCountMost, where);
  run.targetGeneration =
      countUpTo(entry, "targetGeneration", run.generations.value_or(kIntMost), where);
  run.targetEvaluations =
      countUpTo(entry, "targetEvaluations", run.evaluations.value_or(kCountMost), where);
}

LoggedRun loggedRun(const Json& entry, std::size_t index) {
  const std::string where = "runs[" + std::to_string(index) + "]: ";
  if (!entry.is_object()) throw Malformed{where + "not an object"};
  LoggedRun run;
  const std::int64_t position = static_cast<std::int64_t>(index) + 1;
  const std::optional<std::int64_t> number = optionalInteger(entry, "run", where);
  if (number && (*number < 0 || *number > kIntMost))
    throw Malformed{where + "\"run\" cannot be " + std::to_string(*number)};
  run.run = static_cast<int>(number.value_or(position));
  run.bestMakespan = optionalNumber(entry, "bestMakespan", where);
  readCounts(entry, where, run);
  run.seconds = optionalNumber(entry, "seconds", where);
  if (run.seconds && *run.seconds < 0) throw Malformed{where + "\"seconds\" cannot be negative"};
  run.cut = optionalFlag(entry, "cut", where);
  run.abandonedGeneration = optionalFlag(entry, "abandonedGeneration", where);
  run.offsetsRecorded = entry.contains("offsets");
  if (const Json* offsets = member(entry, "offsets")) run.offsets = fileOffsets(*offsets, where);
  run.traceOffsetRecorded = entry.contains("traceOffset");
  run.traceOffset = optionalInteger(entry, "traceOffset", where);
  if (run.traceOffset && *run.traceOffset < 0)
    throw Malformed{where + "\"traceOffset\" should be a byte offset from 0"};
  return run;
}

std::optional<int> smallInteger(const Json& object, const char* name, const std::string& where) {
  const std::optional<std::int64_t> value = optionalInteger(object, name, where);
  if (!value) return std::nullopt;
  if (*value < std::numeric_limits<int>::min() || *value > std::numeric_limits<int>::max()) {
    throw Malformed{where + "\"" + name + "\" is out of range"};
  }
  return static_cast<int>(*value);
}

NichingMethod loggedMethod(const Json& object) {
  const Json* method = member(object, "method");
  if (method == nullptr) throw Malformed{"niching: no field \"method\""};
  const std::optional<NichingMethod> named =
      method->is_string() ? nichingMethodNamed(method->get<std::string>()) : std::nullopt;
  if (!named)
    throw Malformed{"niching: \"method\" should name a niching method, not " + method->dump()};
  return *named;
}

// Only the method's own settings are read: a record never holds another method's.
NichingSettings loggedNiching(const Json& object) {
  if (!object.is_object()) throw Malformed{"\"niching\" should be an object"};
  NichingSettings settings;
  settings.method = loggedMethod(object);
  for (const NichingField& field : kNichingFields) {
    if (field.method != settings.method) continue;
    const std::optional<double> value = optionalNumber(object, field.name, "niching: ");
    if (!value) continue;
    if (!acceptsValue(field, *value))
      throw Malformed{std::string("niching: \"") + field.name + "\" cannot be " +
                      nichingValueText(*value)};
    setValue(settings, field.setting, *value);
  }
  return settings;
}

// A parameter as the main run read it, when the record holds it as a whole number from 0.
std::optional<std::int64_t> countParameter(const Json& parameters, const char* name) {
  const Json* value = member(parameters, name);
  if (value == nullptr || !value->is_number_integer()) return std::nullopt;
  const std::int64_t count = value->get<std::int64_t>();
  return count >= 0 ? std::optional<std::int64_t>(count) : std::nullopt;
}

// A run evaluates its initial population, then whole generations while it is below the budget:
// it ends before the budget and two populations more, however the generations are made.
void checkBudget(const Json& parameters, const std::vector<LoggedRun>& runs) {
  const std::optional<std::int64_t> budget = countParameter(parameters, "maxEvaluations");
  const std::optional<std::int64_t> population = countParameter(parameters, "populationSize");
  if (!budget || !population || *budget > kIntMost || *population > kIntMost) return;
  const std::int64_t most = *budget + 2 * *population;
  for (std::size_t k = 0; k < runs.size(); ++k) {
    if (runs[k].evaluations && *runs[k].evaluations > most)
      throw Malformed{"runs[" + std::to_string(k) + "]: \"evaluations\" cannot be " +
                      std::to_string(*runs[k].evaluations) + " with maxEvaluations " +
                      std::to_string(*budget) + " and populationSize " +
                      std::to_string(*population)};
  }
}

LoggedExecution loggedExecution(const Json& object) {
  if (!object.is_object())
    throw Malformed{std::string("expected a JSON object, found ") + object.type_name()};
  LoggedExecution execution;
  execution.version = text(object, "version");
  execution.commit = text(object, "commit");
  execution.started = text(object, "started");
  execution.seedGiven = flag(object, "seedGiven");
  execution.wallClock = flag(object, "wallClock");
  execution.clock = text(object, "clock");
  if (execution.clock.empty()) execution.clock = execution.wallClock ? "wall" : "linear";
  if (const std::optional<std::int64_t> seed = optionalInteger(object, "seed", "")) {
    if (*seed < 0 || *seed > std::numeric_limits<std::uint32_t>::max()) {
      throw Malformed{"\"seed\" should be an unsigned 32-bit number, not " + std::to_string(*seed)};
    }
    execution.seed = static_cast<std::uint32_t>(*seed);
  }
  if (object.contains("instance") && object["instance"].is_null())
    throw Malformed{"\"instance\" should be an object, not null"};
  if (const Json* instance = member(object, "instance")) {
    if (!instance->is_object()) throw Malformed{"\"instance\" should be an object"};
    execution.jobs = smallInteger(*instance, "jobs", "instance: ");
    execution.machines = smallInteger(*instance, "machines", "instance: ");
    execution.target = smallInteger(*instance, "target", "instance: ");
    execution.instanceSha256 = text(*instance, "sha256");
  }
  const Json& parameters = required(object, "parameters", "");
  if (!parameters.is_object()) throw Malformed{"\"parameters\" should be an object"};
  for (const auto& [name, value] : parameters.items()) {
    execution.parameters.emplace_back(name,
                                      value.is_string() ? value.get<std::string>() : value.dump());
  }
  execution.runCount = optionalInteger(parameters, "runCount", "parameters: ");
  if (const Json* niching = member(object, "niching")) execution.niching = loggedNiching(*niching);
  const Json& runs = required(object, "runs", "");
  if (!runs.is_array()) throw Malformed{"\"runs\" should be an array"};
  for (std::size_t k = 0; k < runs.size(); ++k) execution.runs.push_back(loggedRun(runs[k], k));
  checkBudget(parameters, execution.runs);
  // The main run performs at least one run, whatever runCount says (0 and below give one); one
  // stopped by SIGINT or SIGTERM (exit status 130 or 143) holds the runs it got through.
  const std::optional<std::int64_t> exitStatus = optionalInteger(object, "exitStatus", "");
  if (exitStatus) execution.exitStatus = static_cast<int>(*exitStatus);
  const bool stopped = exitStatus == 130 || exitStatus == 143;
  const std::int64_t recorded = static_cast<std::int64_t>(runs.size());
  const std::int64_t planned = std::max<std::int64_t>(execution.runCount.value_or(0), 1);
  if (execution.runCount && (stopped ? recorded < 1 || recorded > planned : recorded != planned)) {
    throw Malformed{"runCount is " + std::to_string(*execution.runCount) + " but \"runs\" holds " +
                    std::to_string(runs.size())};
  }
  return execution;
}

bool blank(const std::string& line) { return line.find_first_not_of(" \t\r") == std::string::npos; }

}  // namespace

bool interrupted(const LoggedExecution& execution) {
  return execution.exitStatus == 130 || execution.exitStatus == 143;
}

bool repeats(const LoggedExecution& later, const LoggedExecution& earlier) {
  return later.seed && !later.wallClock && later.seed == earlier.seed && !earlier.wallClock &&
         later.clock == earlier.clock && !later.instanceSha256.empty() &&
         later.instanceSha256 == earlier.instanceSha256 && later.parameters == earlier.parameters &&
         sameNiching(later.niching, earlier.niching) && !later.version.empty() &&
         later.version == earlier.version;
}

std::optional<int> repeatedExecution(const ExecutionLog& log, const LoggedExecution& execution) {
  for (const LoggedExecution& earlier : log.executions) {
    if (earlier.number != 0 && earlier.number == execution.number) break;
    if (repeats(execution, earlier)) return earlier.number;
  }
  return std::nullopt;
}

ExecutionLog parseExecutionLog(const std::string& text, std::vector<std::string>& problems) {
  ExecutionLog log;
  log.present = true;
  std::size_t begin = 0;
  for (int lineNumber = 1; begin < text.size(); ++lineNumber) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(begin, end - begin);
    begin = end + 1;
    if (blank(line)) continue;
    bool accepted = false;
    try {
      LoggedExecution execution = loggedExecution(Json::parse(line));
      execution.number = static_cast<int>(log.executions.size()) + 1;
      execution.line = lineNumber;
      log.executions.push_back(std::move(execution));
      accepted = true;
    } catch (const Malformed& malformed) {
      problems.push_back(std::string(kExecutionRecordFileName) + ":" + std::to_string(lineNumber) +
                         ": " + printableText(malformed.reason));
    } catch (const Json::exception& error) {
      // nlohmann quotes the bytes it stopped at as they are, and starts with its own
      // "[json.exception...]" tag, of no use to a reader.
      std::string reason = error.what();
      if (const std::size_t tag = reason.find("] "); tag != std::string::npos) {
        reason.erase(0, tag + 2);
      }
      problems.push_back(std::string(kExecutionRecordFileName) + ":" + std::to_string(lineNumber) +
                         ": not a JSON object (" + printableText(reason) + ")");
    }
    // A refused line's runs are unknown, so later lines cannot be matched to runs by counting;
    // they are still read, for their runs placed by offsets (a record appended behind a cut one).
    if (!accepted && !log.brokenLine) log.brokenLine = lineNumber;
  }
  return log;
}

}  // namespace jobshop
