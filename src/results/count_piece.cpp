// Writing and reading "optima-piece-K-of-N.json". Counts are decimal strings, as in the checkpoint:
// they may exceed what a JSON reader takes for a whole number.
#include "results/count_piece.h"

#include <charconv>
#include <nlohmann/json.hpp>
#include <set>

namespace jobshop {

namespace {

constexpr const char* kPrefix = "optima-piece-";
constexpr const char* kMiddle = "-of-";
constexpr const char* kSuffix = ".json";

bool isDigits(const std::string& count) {
  return !count.empty() && count.size() <= 100000 &&
         count.find_first_not_of("0123456789") == std::string::npos;
}

// A whole number from 1 without leading zeros, so that one piece has one name.
std::optional<int> positiveNumber(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || text[0] == '0' || ec != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::optional<int> wholeField(const nlohmann::json& json, const char* field) {
  if (!json.contains(field) || !json[field].is_number_integer()) return std::nullopt;
  const auto value = json[field].get<std::int64_t>();
  if (value < 0 || value > 1'000'000'000) return std::nullopt;
  return static_cast<int>(value);
}

// The counts: [index, "count", nodes] triples, each index once, in the cut and of the piece.
MaybeFailure readCounts(const nlohmann::json& counts, CountPiece& piece) {
  if (!counts.is_array()) return Failure{"\"counts\" is not a list"};
  std::set<int> seen;
  for (const nlohmann::json& entry : counts) {
    if (!entry.is_array() || entry.size() != 3 || !entry[0].is_number_integer() ||
        !entry[1].is_string() || !entry[2].is_number_integer()) {
      return Failure{"an entry of \"counts\" is not [subtree, \"count\", nodes]"};
    }
    const auto given = entry[0].get<std::int64_t>();
    if (given < 0 || given >= piece.subtrees || !seen.insert(static_cast<int>(given)).second) {
      return Failure{"subtree " + std::to_string(given) + " is out of the cut or given twice"};
    }
    const int index = static_cast<int>(given);
    if (index % piece.pieces != piece.piece - 1) {
      return Failure{"subtree " + std::to_string(index) + " is not of piece " +
                     std::to_string(piece.piece) + " of " + std::to_string(piece.pieces)};
    }
    std::string count = entry[1].get<std::string>();
    if (!isDigits(count)) {
      return Failure{"the count of subtree " + std::to_string(index) + " is not a whole number"};
    }
    piece.counts.push_back({index, std::move(count), entry[2].get<std::int64_t>()});
  }
  return std::nullopt;
}

// The orders: [machine, job before, job after] triples of the instance, each once, in the order
// they are written.
MaybeFailure readOrders(const nlohmann::json& orders, CountPiece& piece) {
  if (!orders.is_array()) return Failure{"\"orders\" is not a list"};
  std::vector<std::array<int, 3>> read;
  for (const nlohmann::json& entry : orders) {
    if (!entry.is_array() || entry.size() != 3 || !entry[0].is_number_integer() ||
        !entry[1].is_number_integer() || !entry[2].is_number_integer()) {
      return Failure{"an entry of \"orders\" is not [machine, job before, job after]"};
    }
    const auto machine = entry[0].get<std::int64_t>();
    const auto before = entry[1].get<std::int64_t>();
    const auto after = entry[2].get<std::int64_t>();
    if (machine < 1 || machine > piece.machines || before < 1 || before > piece.jobs || after < 1 ||
        after > piece.jobs || before == after) {
      return Failure{"the order " + entry.dump() + " is not of two jobs on one machine"};
    }
    const std::array<int, 3> order{static_cast<int>(machine), static_cast<int>(before),
                                   static_cast<int>(after)};
    if (!read.empty() && !(read.back() < order)) {
      return Failure{"the order " + entry.dump() +
                     " is given twice or out of its place (machine, then jobs)"};
    }
    read.push_back(order);
  }
  piece.orders = std::move(read);
  return std::nullopt;
}

}  // namespace

std::string countPieceFileName(int piece, int pieces) {
  return kPrefix + std::to_string(piece) + kMiddle + std::to_string(pieces) + kSuffix;
}

std::optional<std::pair<int, int>> countPieceOfFileName(const std::string& name) {
  const std::string prefix = kPrefix;
  const std::string suffix = kSuffix;
  if (name.size() <= prefix.size() + suffix.size() || name.rfind(prefix, 0) != 0 ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return std::nullopt;
  }
  const std::string numbers =
      name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  const std::size_t middle = numbers.find(kMiddle);
  if (middle == std::string::npos) return std::nullopt;
  const std::optional<int> piece = positiveNumber(numbers.substr(0, middle));
  const std::optional<int> pieces = positiveNumber(numbers.substr(middle + 4));
  if (!piece || !pieces || *piece > *pieces) return std::nullopt;
  return std::make_pair(*piece, *pieces);
}

std::string countPieceJson(const CountPiece& piece) {
  nlohmann::ordered_json json;
  json["instanceSha256"] = piece.instanceSha256;
  json["jobs"] = piece.jobs;
  json["machines"] = piece.machines;
  json["bound"] = piece.bound;
  json["cut"] = {{"atLeast", piece.cutAtLeast}, {"subtrees", piece.subtrees}};
  json["piece"] = piece.piece;
  json["pieces"] = piece.pieces;
  nlohmann::ordered_json counts = nlohmann::ordered_json::array();
  for (const CountPiece::Subtree& subtree : piece.counts)
    counts.push_back({subtree.index, subtree.count, subtree.nodes});
  json["counts"] = std::move(counts);
  json["seconds"] = piece.seconds;
  json["threads"] = piece.threads;
  if (piece.orders) json["orders"] = *piece.orders;
  return json.dump() + "\n";
}

OrFailure<CountPiece> parseCountPiece(const std::string& text) {
  const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
  if (json.is_discarded() || !json.is_object()) return Failure{"not a JSON object"};
  CountPiece piece;
  for (const char* field : {"jobs", "machines", "bound", "piece", "pieces"}) {
    if (!wholeField(json, field)) {
      return Failure{std::string("no whole number \"") + field + "\" from 0 to 1000000000"};
    }
  }
  if (!json.contains("cut") || !json["cut"].is_object() || !wholeField(json["cut"], "atLeast") ||
      !wholeField(json["cut"], "subtrees")) {
    return Failure{"no \"cut\" with whole numbers \"atLeast\" and \"subtrees\""};
  }
  if (!json.contains("instanceSha256") || !json["instanceSha256"].is_string() ||
      !json.contains("counts")) {
    return Failure{"no \"instanceSha256\" or no \"counts\""};
  }
  piece.instanceSha256 = json["instanceSha256"].get<std::string>();
  piece.jobs = *wholeField(json, "jobs");
  piece.machines = *wholeField(json, "machines");
  piece.bound = *wholeField(json, "bound");
  piece.cutAtLeast = *wholeField(json["cut"], "atLeast");
  piece.subtrees = *wholeField(json["cut"], "subtrees");
  piece.piece = *wholeField(json, "piece");
  piece.pieces = *wholeField(json, "pieces");
  if (piece.pieces < 1 || piece.piece < 1 || piece.piece > piece.pieces) {
    return Failure{"piece " + std::to_string(piece.piece) + " of " + std::to_string(piece.pieces) +
                   " is not a piece"};
  }
  if (MaybeFailure failure = readCounts(json["counts"], piece)) return std::move(*failure);
  if (json.contains("seconds") && json["seconds"].is_number())
    piece.seconds = json["seconds"].get<double>();
  if (const std::optional<int> threads = wholeField(json, "threads")) piece.threads = *threads;
  if (json.contains("orders")) {
    if (MaybeFailure failure = readOrders(json["orders"], piece)) return std::move(*failure);
  }
  return piece;
}

}  // namespace jobshop
