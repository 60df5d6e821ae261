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

#include "results/json_fields.h"
#include "support/bounded_file.h"
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

std::optional<OptimaEstimate> readEstimate(const nlohmann::json& json) {
  if (!json.contains("estimate")) return std::nullopt;
  const nlohmann::json& e = json.at("estimate");
  return OptimaEstimate{realField(e, "value"), realField(e, "standardError"),
                        wholeField(e, "probes", 1, std::numeric_limits<std::int64_t>::max()),
                        unsignedField(e, "seed")};
}

std::optional<SubtreeEstimate> readSubtreeEstimate(const nlohmann::json& json) {
  if (!json.contains("subtreeEstimate")) return std::nullopt;
  const nlohmann::json& e = json.at("subtreeEstimate");
  const auto subtrees = static_cast<int>(wholeField(e, "subtrees", 1, kMaxInt));
  return SubtreeEstimate{realField(e, "value"), realField(e, "standardError"),
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
  read.value = realField(e, "value");
  read.standardError = realField(e, "standardError");
  read.low = realField(e, "low");
  read.high = e.contains("high") && e.at("high").is_null() ? std::numeric_limits<double>::infinity()
                                                           : realField(e, "high");
  read.level = realField(e, "level");
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
  std::set<std::array<int, 3>> pairsSeen;
  for (const nlohmann::json& order : b.at("orders")) {
    backbone.orders.push_back(readOrder(order, optima));
    const std::array<int, 3>& o = backbone.orders.back();
    if (!pairsSeen.insert({o[0], std::min(o[1], o[2]), std::max(o[1], o[2])}).second) {
      throw std::invalid_argument("it orders one pair twice");
    }
  }
  return backbone;
}

// The backbone when the file has one; a refusal names the object, whose fields' names are short.
std::optional<OptimaBackbone> readBackbone(const nlohmann::json& json,
                                           const EnumeratedOptima& optima) {
  if (!json.contains("backbone")) return std::nullopt;
  try {
    return readBackboneObject(json, optima);
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

OptimaInFolder loadOptimaSummary(const std::string& folder) {
  const std::string path = pathInFolder(folder, kEnumeratedOptimaFileName);
  std::error_code ignored;
  if (!std::filesystem::exists(path, ignored)) return std::optional<EnumeratedOptima>();
  const BoundedRead read = readBoundedFile(path, kMaxRecordFileBytes);
  if (!read.text) return cannotRead(path, read);
  const std::optional<std::string>& text = read.text;
  EnumeratedOptima optima;
  try {
    const nlohmann::json json = nlohmann::json::parse(*text);
    optima.jobs = static_cast<int>(wholeField(json, "jobs", 1, kMaxInt));
    optima.machines = static_cast<int>(wholeField(json, "machines", 1, kMaxInt));
    optima.instanceSha256 = optionalTextField(json, "instanceSha256");
    optima.bound = static_cast<int>(wholeField(json, "bound", 0, kMaxInt));
    readCount(json, optima);
    optima.complete = booleanField(json, "complete");
    optima.optimal = json.contains("optimal") && booleanField(json, "optimal");
    optima.listFile = optionalTextField(json, "list");
    optima.estimate = readEstimate(json);
    optima.subtreeEstimate = readSubtreeEstimate(json);
    optima.sampleEstimate = readSampleEstimate(json);
    optima.backbone = readBackbone(json, optima);
  } catch (const nlohmann::json::exception& error) {
    return Failure{path + ": " + error.what()};
  } catch (const std::invalid_argument& error) {  // a JsonFieldError among them
    return Failure{path + ": " + error.what()};
  }
  if (optima.jobs < 1 || optima.machines < 1 || optima.count < 0)
    return Failure{path + ": jobs, machines or count out of range"};
  return std::optional<EnumeratedOptima>(std::move(optima));
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
