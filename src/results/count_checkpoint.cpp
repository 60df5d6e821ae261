// Writing and reading "optima-checkpoint.json". Counts are decimal strings: they may exceed what a
// JSON reader takes for a whole number.
#include "results/count_checkpoint.h"

#include <nlohmann/json.hpp>
#include <set>

namespace jobshop {

std::string countCheckpointJson(const CountCheckpoint& checkpoint) {
  nlohmann::ordered_json json;
  json["instanceSha256"] = checkpoint.instanceSha256;
  json["jobs"] = checkpoint.jobs;
  json["machines"] = checkpoint.machines;
  json["bound"] = checkpoint.bound;
  json["subtrees"] = checkpoint.subtrees;
  nlohmann::ordered_json done = nlohmann::ordered_json::array();
  for (const auto& [index, count] : checkpoint.done) done.push_back({index, count});
  json["done"] = std::move(done);
  return json.dump() + "\n";
}

namespace {

// The done list: [index, "count"] pairs, each index once and below subtrees.
MaybeFailure readDone(const nlohmann::json& done, CountCheckpoint& checkpoint) {
  if (!done.is_array()) return Failure{"\"done\" is not a list"};
  std::set<int> seen;
  for (const nlohmann::json& entry : done) {
    if (!entry.is_array() || entry.size() != 2 || !entry[0].is_number_integer() ||
        !entry[1].is_string()) {
      return Failure{"an entry of \"done\" is not [subtree, \"count\"]"};
    }
    const auto given = entry[0].get<std::int64_t>();
    if (given < 0 || given >= checkpoint.subtrees || !seen.insert(static_cast<int>(given)).second) {
      return Failure{"subtree " + std::to_string(given) + " is out of range or given twice"};
    }
    const int index = static_cast<int>(given);
    std::string count = entry[1].get<std::string>();
    if (count.empty() || count.size() > 100000 ||
        count.find_first_not_of("0123456789") != std::string::npos) {
      return Failure{"the count of subtree " + std::to_string(index) + " is not a whole number"};
    }
    checkpoint.done.emplace_back(index, std::move(count));
  }
  return std::nullopt;
}

}  // namespace

OrFailure<CountCheckpoint> parseCountCheckpoint(const std::string& text) {
  const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
  if (json.is_discarded() || !json.is_object()) {
    return Failure{"not a JSON object"};
  }
  CountCheckpoint checkpoint;
  for (const char* field : {"jobs", "machines", "bound", "subtrees"}) {
    if (!json.contains(field) || !json[field].is_number_integer() ||
        json[field].get<std::int64_t>() < 0 || json[field].get<std::int64_t>() > 1'000'000'000) {
      return Failure{std::string("no whole number \"") + field + "\" from 0 to 1000000000"};
    }
  }
  if (!json.contains("instanceSha256") || !json["instanceSha256"].is_string() ||
      !json.contains("done")) {
    return Failure{"no \"instanceSha256\" or no \"done\""};
  }
  checkpoint.instanceSha256 = json["instanceSha256"].get<std::string>();
  checkpoint.jobs = json["jobs"].get<int>();
  checkpoint.machines = json["machines"].get<int>();
  checkpoint.bound = json["bound"].get<int>();
  checkpoint.subtrees = json["subtrees"].get<int>();
  if (MaybeFailure failure = readDone(json["done"], checkpoint)) return std::move(*failure);
  return checkpoint;
}

}  // namespace jobshop
