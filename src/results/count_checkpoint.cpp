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
  // Left out when empty, so that a checkpoint of subtrees done only reads as before.
  if (!checkpoint.partial.empty()) {
    nlohmann::ordered_json partial = nlohmann::ordered_json::array();
    for (const CountCheckpoint::Partial& p : checkpoint.partial)
      partial.push_back({p.index, p.at, p.count});
    json["partial"] = std::move(partial);
  }
  return json.dump() + "\n";
}

namespace {

bool isDigits(const std::string& count) {
  return !count.empty() && count.size() <= 100000 &&
         count.find_first_not_of("0123456789") == std::string::npos;
}

// A subtree index below subtrees not seen before, or nothing.
std::optional<int> newSubtree(const nlohmann::json& entry, const CountCheckpoint& checkpoint,
                              std::set<int>& seen) {
  if (!entry.is_number_unsigned()) return std::nullopt;
  const auto given = entry.get<std::uint64_t>();
  if (given >= static_cast<std::uint64_t>(checkpoint.subtrees) ||
      !seen.insert(static_cast<int>(given)).second) {
    return std::nullopt;
  }
  return static_cast<int>(given);
}

// The jobs of a place below a subtree's root: at least one, each a job of the instance, no more
// than a schedule has steps.
std::optional<std::vector<int>> placeOf(const nlohmann::json& at,
                                        const CountCheckpoint& checkpoint) {
  const std::int64_t steps =
      static_cast<std::int64_t>(checkpoint.jobs) * static_cast<std::int64_t>(checkpoint.machines);
  if (!at.is_array() || at.empty() || static_cast<std::int64_t>(at.size()) > steps) {
    return std::nullopt;
  }
  std::vector<int> jobs;
  for (const nlohmann::json& job : at) {
    if (!job.is_number_unsigned() || job.get<std::uint64_t>() >= std::uint64_t(checkpoint.jobs))
      return std::nullopt;
    jobs.push_back(job.get<int>());
  }
  return jobs;
}

// The partial list: [index, [jobs], "count"] triples, each index once, in neither list before.
MaybeFailure readPartial(const nlohmann::json& partial, std::set<int>& seen,
                         CountCheckpoint& checkpoint) {
  if (!partial.is_array()) return Failure{"\"partial\" is not a list"};
  for (const nlohmann::json& entry : partial) {
    if (!entry.is_array() || entry.size() != 3 || !entry[0].is_number_integer() ||
        !entry[2].is_string()) {
      return Failure{"an entry of \"partial\" is not [subtree, [jobs], \"count\"]"};
    }
    const std::optional<int> index = newSubtree(entry[0], checkpoint, seen);
    if (!index) {
      return Failure{"partial subtree " + entry[0].dump() + " is out of range or given twice"};
    }
    std::optional<std::vector<int>> at = placeOf(entry[1], checkpoint);
    if (!at)
      return Failure{"the place of partial subtree " + std::to_string(*index) +
                     " is not a list of jobs"};
    std::string count = entry[2].get<std::string>();
    if (!isDigits(count)) {
      return Failure{"the count of partial subtree " + std::to_string(*index) +
                     " is not a whole number"};
    }
    checkpoint.partial.push_back({*index, std::move(*at), std::move(count)});
  }
  return std::nullopt;
}

// The done list: [index, "count"] pairs, each index once and below subtrees.
MaybeFailure readDone(const nlohmann::json& done, std::set<int>& seen,
                      CountCheckpoint& checkpoint) {
  if (!done.is_array()) return Failure{"\"done\" is not a list"};
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
    if (!isDigits(count)) {
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
  std::set<int> seen;
  if (MaybeFailure failure = readDone(json["done"], seen, checkpoint)) return std::move(*failure);
  if (json.contains("partial")) {
    if (MaybeFailure failure = readPartial(json["partial"], seen, checkpoint))
      return std::move(*failure);
  }
  return checkpoint;
}

}  // namespace jobshop
