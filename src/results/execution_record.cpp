// Building the execution record with nlohmann-json and appending it in one write.
#include "results/execution_record.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <nlohmann/json.hpp>

#include "input/niching_fields.h"
#include "input/parameter_table.h"
#include "support/open_for_writing.h"

namespace jobshop {

namespace {

using nlohmann::ordered_json;

// Every field by its name in "D_Algoritmo.txt", flags as booleans.
ordered_json parameterObject(const Parameters& parameters) {
  ordered_json object = ordered_json::object();
  for (const ParameterField& field : kParameterFields) {
    const int value = field.valueIn(parameters);
    object[field.name] = field.isFlag() ? ordered_json(value == 1) : ordered_json(value);
  }
  return object;
}

// The method and the values its run used, defaults resolved; only the method's own settings.
ordered_json nichingObject(const ExecutionRecord& record) {
  const NichingSettings& settings = record.parameters.niching;
  ordered_json object{{"method", nichingMethodName(settings.method)}};
  for (const NichingField& field : kNichingFields) {
    if (field.method != settings.method) continue;
    const double value = resolvedValue(settings, field.setting, record.parameters.populationSize,
                                       record.jobs * record.machines);
    object[field.name] = field.whole ? ordered_json(static_cast<int>(value)) : ordered_json(value);
  }
  return object;
}

template <class T>
ordered_json orNull(const std::optional<T>& value) {
  return value ? ordered_json(*value) : ordered_json(nullptr);
}

ordered_json offsetObject(const std::optional<std::array<std::int64_t, 5>>& offsets) {
  if (!offsets) return ordered_json(nullptr);
  ordered_json object = ordered_json::object();
  for (std::size_t file = 0; file < offsets->size(); ++file)
    object[kResultFileNames[file]] = (*offsets)[file];
  return object;
}

ordered_json runObject(const RunSummary& run) {
  return ordered_json{{"run", run.run},
                      {"bestMakespan", static_cast<double>(run.bestMakespan)},
                      {"generations", run.generations},
                      {"evaluations", run.evaluations},
                      {"targetGeneration", orNull(run.targetGeneration)},
                      {"targetEvaluations", orNull(run.targetEvaluations)},
                      {"distinctOptima", orNull(run.distinctOptima)},
                      {"seconds", run.seconds},
                      {"cut", run.cut},
                      {"abandonedGeneration", run.abandonedGeneration},
                      {"offsets", offsetObject(run.offsets)},
                      {"traceOffset", orNull(run.traceOffset)}};
}

// Whether the file's byte at size - 1 is a line end; a file that cannot be read back counts as
// ended, as it did before it could be checked.
bool endsWithNewline(const std::string& path, off_t size) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return true;
  char last = '\n';
  const bool read = ::pread(fd, &last, 1, size - 1) == 1;
  ::close(fd);
  return !read || last == '\n';
}

// Every byte, or the errno that stopped the write: the write after a short one tells why (ENOSPC
// for a full disk, EFBIG past the file-size limit).
int writeWhole(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno;
    if (written == 0) return EIO;
    done += static_cast<std::size_t>(written);
  }
  return 0;
}

}  // namespace

std::string isoUtc(std::time_t time) {
  std::tm parts{};
  gmtime_r(&time, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
  return text;
}

RunSummary summariseRun(const RunResult& result,
                        const std::optional<std::array<std::int64_t, 5>>& offsets,
                        std::optional<std::int64_t> traceOffset) {
  RunSummary summary;
  summary.run = result.run;
  summary.bestMakespan = result.improvements.back().best;
  summary.generations = result.generations;
  summary.evaluations = result.evaluations;
  summary.targetGeneration = result.targetGeneration;
  summary.targetEvaluations = result.targetEvaluations;
  summary.distinctOptima = static_cast<int>(result.analysis.distinctCount());
  summary.seconds = result.seconds;
  summary.cut = result.cut;
  summary.abandonedGeneration = result.abandonedGeneration;
  summary.offsets = offsets;
  summary.traceOffset = traceOffset;
  return summary;
}

std::string executionRecordLine(const ExecutionRecord& record) {
  ordered_json runs = ordered_json::array();
  for (const RunSummary& run : record.runs) runs.push_back(runObject(run));
  const ordered_json line{{"program", "jobshop-niching"},
                          {"version", record.version},
                          {"commit", orNull(record.commit)},
                          {"started", isoUtc(record.started)},
                          {"seed", orNull(record.seed)},
                          {"seedGiven", record.seedGiven},
                          {"wallClock", record.wallClock},
                          {"clock", record.clock},
                          {"instance",
                           {{"jobs", record.jobs},
                            {"machines", record.machines},
                            {"target", record.targetMakespan},
                            {"sha256", record.instanceSha256}}},
                          {"parameters", parameterObject(record.parameters)},
                          {"niching", nichingObject(record)},
                          {"runs", runs},
                          {"exitStatus", record.exitStatus}};
  // Replacement keeps the line valid JSON even if a path or text ever held invalid UTF-8.
  return line.dump(-1, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

MaybeFailure appendExecutionRecord(const std::string& path, const std::string& line) {
  const int fd = openForWriting(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return Failure{std::strerror(errno)};
  struct stat before {};
  const bool sized = ::fstat(fd, &before) == 0;
  // A last line cut short (a full disk, an editor) is ended first, so that the new record begins a
  // line of its own: the cut one is still told as malformed, and this one stays readable.
  const bool cut = sized && before.st_size > 0 && !endsWithNewline(path, before.st_size);
  int failure = writeWhole(fd, cut ? "\n" + line : line);
  // A full disk or the file-size limit took part of the line: cut it off again so the file keeps
  // whole lines.
  struct stat after {};
  const bool grown = sized && ::fstat(fd, &after) == 0 && after.st_size > before.st_size;
  if (failure != 0 && grown && ::ftruncate(fd, before.st_size) != 0) failure = errno;
  if (::close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0) return std::nullopt;
  return Failure{std::strerror(failure)};
}

}  // namespace jobshop
