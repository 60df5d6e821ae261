// Writing and reading "optima.json" and the lines of its list.
#include "results/optima_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "input/instance_reader.h"
#include "results/json_fields.h"
#include "support/bounded_file.h"
#include "support/printable_text.h"
#include "support/text_files.h"

namespace jobshop {

namespace {

// The numbers of one list line, each followed by one space; nullopt when it is not that.
std::optional<std::vector<int>> parseLine(const std::string& line) {
  std::vector<int> numbers;
  const char* at = line.data();
  const char* end = at + line.size();
  while (at < end) {
    int value = 0;
    const auto [stop, ec] = std::from_chars(at, end, value);
    if (ec != std::errc() || stop == end || *stop != ' ') return std::nullopt;
    numbers.push_back(value);
    at = stop + 1;
  }
  return numbers;
}

// With the reason, so that a pipe, a device or a file past the limit is told as what it is.
Failure cannotRead(const std::string& path, const BoundedRead& read) {
  return Failure{"cannot read " + path + " (" + read.problem + ")"};
}

MaybeFailure loadList(const std::string& path, EnumeratedOptima& optima) {
  const BoundedRead read = readBoundedFile(path, kMaxResultFileBytes);
  if (!read.text) return cannotRead(path, read);
  const std::vector<std::string> lines = splitLines(*read.text);
  const std::size_t cells =
      static_cast<std::size_t>(optima.jobs) * static_cast<std::size_t>(optima.machines);
  const std::int64_t count = static_cast<std::int64_t>(lines.size());
  for (std::int64_t number = 1; number <= count; ++number) {
    const std::string where = path + ", line " + std::to_string(number) + ": ";
    if (number > optima.count)
      return Failure{where + "more schedules than the count of optima.json"};
    std::optional<std::vector<int>> numbers = parseLine(lines[number - 1]);
    if (!numbers || numbers->size() != cells + 1) {
      return Failure{where + "expected " + std::to_string(cells + 1) +
                     " numbers each followed by a space"};
    }
    numbers->pop_back();  // the makespan
    for (int job : *numbers) {
      if (job < 1 || job > optima.jobs)
        return Failure{where + "job " + std::to_string(job) + " out of range"};
    }
    optima.listLines.emplace(*numbers, number);
    optima.schedules.insert(std::move(*numbers));
  }
  if (count != optima.count) {
    return Failure{path + " holds " + std::to_string(count) + " schedules, optima.json counts " +
                   std::to_string(optima.count)};
  }
  return std::nullopt;
}

}  // namespace

std::string countText(const EnumeratedOptima& optima) {
  return optima.countDigits.empty() ? std::to_string(optima.count) : optima.countDigits;
}

namespace {

constexpr std::int64_t kMaxInt = std::numeric_limits<int>::max();

// A JSON whole number while a reader takes it as one, beyond the int64 maximum its digits as a
// string.
nlohmann::ordered_json countValue(const EnumeratedOptima& optima) {
  if (optima.countDigits.empty()) return optima.count;
  return optima.countDigits;
}

// "count" as a number, or as the digits of a count too large for one.
void readCount(const nlohmann::json& object, EnumeratedOptima& optima) {
  const nlohmann::json& value = object.at("count");
  if (!value.is_string()) {
    optima.count = wholeField(object, "count", 0, std::numeric_limits<std::int64_t>::max());
    return;
  }
  const std::string digits = value.get<std::string>();
  if (digits.size() < 19 || digits.size() > 100000 || digits.front() == '0' ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    throw std::invalid_argument("\"count\" is not a whole number beyond the int64 maximum");
  }
  std::int64_t value64 = 0;
  const auto [stop, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value64);
  if (ec == std::errc() && stop == digits.data() + digits.size()) {
    optima.count = value64;
  } else {
    optima.count = std::numeric_limits<std::int64_t>::max();
    optima.countDigits = digits;
  }
}

// A number of schedules or its standard error: a negative one is no estimate of a count.
double nonNegativeField(const nlohmann::json& object, const std::string& name) {
  const double value = realField(object, name);
  if (value < 0) throw JsonFieldError("\"" + name + "\" is negative");
  return value;
}

std::optional<OptimaEstimate> readEstimate(const nlohmann::json& json) {
  if (!json.contains("estimate")) return std::nullopt;
  const nlohmann::json& e = json.at("estimate");
  return OptimaEstimate{nonNegativeField(e, "value"), nonNegativeField(e, "standardError"),
                        wholeField(e, "probes", 1, std::numeric_limits<std::int64_t>::max()),
                        unsignedField(e, "seed")};
}

std::optional<SubtreeEstimate> readSubtreeEstimate(const nlohmann::json& json) {
  if (!json.contains("subtreeEstimate")) return std::nullopt;
  const nlohmann::json& e = json.at("subtreeEstimate");
  const auto subtrees = static_cast<int>(wholeField(e, "subtrees", 1, kMaxInt));
  return SubtreeEstimate{nonNegativeField(e, "value"), nonNegativeField(e, "standardError"),
                         static_cast<int>(wholeField(e, "counted", 0, subtrees)), subtrees};
}

// high is null when infinite: JSON has no infinity.
nlohmann::ordered_json sampleEstimateJson(const SampleEstimate& e) {
  nlohmann::ordered_json json = {
      {"value", e.value},
      {"standardError", e.standardError},
      {"low", e.low},
      {"high", std::isfinite(e.high) ? nlohmann::ordered_json(e.high) : nullptr},
      {"level", e.level},
      {"sampled", e.sampled},
      {"unsettled", e.unsettled},
      {"settled", e.settled},
      {"subtrees", e.subtrees},
      {"seed", e.seed}};
  // Only where some were: an estimate whose sampled subtrees were all counted keeps its bytes.
  if (e.descended > 0) json["descended"] = e.descended;
  return json;
}

std::optional<SampleEstimate> readSampleEstimate(const nlohmann::json& json) {
  if (!json.contains("sampleEstimate")) return std::nullopt;
  const nlohmann::json& e = json.at("sampleEstimate");
  SampleEstimate read;
  read.value = nonNegativeField(e, "value");
  read.standardError = nonNegativeField(e, "standardError");
  read.low = nonNegativeField(e, "low");
  read.high = e.contains("high") && e.at("high").is_null() ? std::numeric_limits<double>::infinity()
                                                           : realField(e, "high");
  if (read.high < read.low) throw JsonFieldError("\"high\" is below \"low\"");
  read.level = realField(e, "level");
  if (!(read.level > 0 && read.level < 1))
    throw JsonFieldError("\"level\" is not a probability between 0 and 1");
  read.subtrees = static_cast<int>(wholeField(e, "subtrees", 0, kMaxInt));
  read.settled = static_cast<int>(wholeField(e, "settled", 0, read.subtrees));
  read.unsettled = static_cast<int>(wholeField(e, "unsettled", 0, read.subtrees - read.settled));
  read.sampled = static_cast<int>(wholeField(e, "sampled", 0, read.unsettled));
  if (e.contains("descended"))
    read.descended = static_cast<int>(wholeField(e, "descended", 0, read.sampled));
  read.seed = unsignedField(e, "seed");
  return read;
}

nlohmann::ordered_json backboneJson(const OptimaBackbone& backbone) {
  nlohmann::ordered_json orders = nlohmann::ordered_json::array();
  for (const std::array<int, 3>& order : backbone.orders) orders.push_back(order);
  return {{"pairs", backbone.pairs()},
          {"of", backbone.of},
          {"share", backbone.share()},
          {"orders", std::move(orders)}};
}

// The digest of the instance counted, 64 lower-case hex digits as sha256Hex writes them; "" when
// the file predates it. Any other text would only ever tell the report "another instance".
std::string readDigest(const nlohmann::json& json) {
  std::string digest = optionalTextField(json, "instanceSha256");
  if (!digest.empty() &&
      (digest.size() != 64 || digest.find_first_not_of("0123456789abcdef") != std::string::npos)) {
    throw JsonFieldError("\"instanceSha256\" is not 64 lower-case hex digits");
  }
  return digest;
}

// "exact" or "lowerBound", the count under the name of what it is: checked when there (files
// written before they were added have neither), so that no bound is read as an exact count.
void checkNamedCount(const nlohmann::json& json, const EnumeratedOptima& optima) {
  const char* named = optima.complete ? "exact" : "lowerBound";
  const char* other = optima.complete ? "lowerBound" : "exact";
  if (json.contains(other)) {
    throw JsonFieldError(std::string("\"") + other + "\" in a count " +
                         (optima.complete ? "complete" : "not complete"));
  }
  if (json.contains(named) && json.at(named) != json.at("count"))
    throw JsonFieldError(std::string("\"") + named + "\" is not \"count\"");
}

// One order {machine, job before, job after} of the backbone, each within the instance.
std::array<int, 3> readOrder(const nlohmann::json& order, const EnumeratedOptima& optima) {
  if (!order.is_array() || order.size() != 3) {
    throw std::invalid_argument("an order is not [machine, job before, job after]");
  }
  const nlohmann::json fields = {{"machine", order[0]}, {"before", order[1]}, {"after", order[2]}};
  const std::array<int, 3> read{static_cast<int>(wholeField(fields, "machine", 1, optima.machines)),
                                static_cast<int>(wholeField(fields, "before", 1, optima.jobs)),
                                static_cast<int>(wholeField(fields, "after", 1, optima.jobs))};
  if (read[1] == read[2]) throw std::invalid_argument("an order pairs a job with itself");
  return read;
}

OptimaBackbone readBackboneObject(const nlohmann::json& json, const EnumeratedOptima& optima) {
  const nlohmann::json& b = json.at("backbone");
  OptimaBackbone backbone;
  backbone.of = machinePairs(optima.jobs, optima.machines);
  if (wholeField(b, "of", 0, std::numeric_limits<std::int64_t>::max()) != backbone.of) {
    throw std::invalid_argument("it counts another number of machine pairs");
  }
  const std::int64_t pairs = wholeField(b, "pairs", 0, backbone.of);
  if (!b.contains("orders") || !b.at("orders").is_array() ||
      static_cast<std::int64_t>(b.at("orders").size()) != pairs) {
    throw std::invalid_argument("no list of its " + std::to_string(pairs) + " orders");
  }
  std::array<int, 3> last{0, 0, 0};
  for (const nlohmann::json& order : b.at("orders")) {
    backbone.orders.push_back(readOrder(order, optima));
    const std::array<int, 3>& o = backbone.orders.back();
    const std::array<int, 3> pair{o[0], std::min(o[1], o[2]), std::max(o[1], o[2])};
    if (pair == last) throw std::invalid_argument("it orders one pair twice");
    if (pair < last) {
      throw std::invalid_argument("its orders are not machine by machine, then by the pair's jobs");
    }
    last = pair;
  }
  if (realField(b, "share") != backbone.share())
    throw std::invalid_argument("its share is not its pairs of all");
  return backbone;
}

// What the schedules counted allow: none of them orders no pair, one of them orders every pair.
void checkBackboneAgainstCount(const OptimaBackbone& backbone, const EnumeratedOptima& optima) {
  if (!optima.complete) throw std::invalid_argument("a count not complete has none");
  if (optima.count == 0 && backbone.pairs() != 0)
    throw std::invalid_argument("no schedule orders no pair");
  if (optima.count == 1 && backbone.pairs() != backbone.of)
    throw std::invalid_argument("one schedule orders every pair");
}

// The backbone when the file has one; a refusal names the object, whose fields' names are short.
std::optional<OptimaBackbone> readBackbone(const nlohmann::json& json,
                                           const EnumeratedOptima& optima) {
  if (!json.contains("backbone")) return std::nullopt;
  try {
    OptimaBackbone backbone = readBackboneObject(json, optima);
    checkBackboneAgainstCount(backbone, optima);
    return backbone;
  } catch (const nlohmann::json::exception& error) {
    throw std::invalid_argument(std::string("\"backbone\": ") + error.what());
  } catch (const std::invalid_argument& error) {
    throw std::invalid_argument(std::string("\"backbone\": ") + error.what());
  }
}

}  // namespace

std::string enumeratedOptimaJson(const EnumeratedOptima& optima) {
  nlohmann::ordered_json json;
  json["jobs"] = optima.jobs;
  json["machines"] = optima.machines;
  if (!optima.instanceSha256.empty()) json["instanceSha256"] = optima.instanceSha256;
  json["bound"] = optima.bound;
  json["count"] = countValue(optima);
  json["complete"] = optima.complete;
  json["optimal"] = optima.optimal;
  if (!optima.listFile.empty()) json["list"] = optima.listFile;
  // The same number under the name of what it is, so that no reader takes a bound for a count.
  json[optima.complete ? "exact" : "lowerBound"] = countValue(optima);
  if (optima.estimate) {
    json["estimate"] = {{"value", optima.estimate->value},
                        {"standardError", optima.estimate->standardError},
                        {"probes", optima.estimate->probes},
                        {"seed", optima.estimate->seed}};
  }
  if (optima.subtreeEstimate) {
    json["subtreeEstimate"] = {{"value", optima.subtreeEstimate->value},
                               {"standardError", optima.subtreeEstimate->standardError},
                               {"counted", optima.subtreeEstimate->counted},
                               {"subtrees", optima.subtreeEstimate->subtrees}};
  }
  if (optima.sampleEstimate) json["sampleEstimate"] = sampleEstimateJson(*optima.sampleEstimate);
  if (optima.backbone) json["backbone"] = backboneJson(*optima.backbone);
  return json.dump(2) + "\n";
}

void appendOptimaListLine(const std::vector<int>& sequences, int makespan, std::string& text) {
  char number[16];
  auto put = [&](int value) {
    char* end = std::to_chars(number, number + sizeof number, value).ptr;
    *end++ = ' ';
    text.append(number, end);
  };
  for (int job : sequences) put(job);
  put(makespan);
  text += '\n';
}

OrFailure<EnumeratedOptima> parseOptimaSummary(const std::string& text, const std::string& path) {
  EnumeratedOptima optima;
  try {
    const nlohmann::json json = nlohmann::json::parse(text);
    optima.jobs = static_cast<int>(wholeField(json, "jobs", 1, kMaxJobs));
    optima.machines = static_cast<int>(wholeField(json, "machines", 1, kMaxGenes / optima.jobs));
    optima.instanceSha256 = readDigest(json);
    optima.bound = static_cast<int>(wholeField(json, "bound", 0, kMaxInt));
    readCount(json, optima);
    optima.complete = booleanField(json, "complete");
    checkNamedCount(json, optima);
    optima.optimal = json.contains("optimal") && booleanField(json, "optimal");
    optima.listFile = optionalTextField(json, "list");
    optima.estimate = readEstimate(json);
    optima.subtreeEstimate = readSubtreeEstimate(json);
    optima.sampleEstimate = readSampleEstimate(json);
    optima.backbone = readBackbone(json, optima);
  } catch (const nlohmann::json::exception& error) {
    return Failure{path + ": " + printableText(error.what())};
  } catch (const std::invalid_argument& error) {  // a JsonFieldError among them
    return Failure{path + ": " + error.what()};
  }
  return optima;
}

OptimaInFolder loadOptimaSummary(const std::string& folder) {
  const std::string path = pathInFolder(folder, kEnumeratedOptimaFileName);
  std::error_code ignored;
  if (!std::filesystem::exists(path, ignored)) return std::optional<EnumeratedOptima>();
  const BoundedRead read = readBoundedFile(path, kMaxRecordFileBytes);
  if (!read.text) return cannotRead(path, read);
  OrFailure<EnumeratedOptima> optima = parseOptimaSummary(*read.text, path);
  if (!optima) return Failure{optima.reason()};
  return std::optional<EnumeratedOptima>(std::move(optima).value());
}

MaybeFailure loadOptimaList(const std::string& path, EnumeratedOptima& optima) {
  return loadList(path, optima);
}

OptimaInFolder loadEnumeratedOptima(const std::string& folder) {
  OptimaInFolder optima = loadOptimaSummary(folder);
  if (!optima || !*optima || (*optima)->listFile.empty()) return optima;
  EnumeratedOptima& read = **optima;
  if (MaybeFailure failure = loadList(pathInFolder(folder, read.listFile), read))
    return std::move(*failure);
  return optima;
}

}  // namespace jobshop
