// Writing and reading "optima.json" and the lines of its list.
#include "results/optima_file.h"

#include <charconv>
#include <filesystem>
#include <nlohmann/json.hpp>

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

std::string loadList(const std::string& path, EnumeratedOptima& optima) {
  const std::optional<std::vector<std::string>> lines = readFileLines(path);
  if (!lines) return "cannot read " + path;
  const std::size_t cells =
      static_cast<std::size_t>(optima.jobs) * static_cast<std::size_t>(optima.machines);
  const std::int64_t count = static_cast<std::int64_t>(lines->size());
  for (std::int64_t number = 1; number <= count; ++number) {
    const std::string where = path + ", line " + std::to_string(number) + ": ";
    if (number > optima.count) return where + "more schedules than the count of optima.json";
    std::optional<std::vector<int>> numbers = parseLine((*lines)[number - 1]);
    if (!numbers || numbers->size() != cells + 1) {
      return where + "expected " + std::to_string(cells + 1) + " numbers each followed by a space";
    }
    numbers->pop_back();  // the makespan
    for (int job : *numbers) {
      if (job < 1 || job > optima.jobs)
        return where + "job " + std::to_string(job) + " out of range";
    }
    optima.listLines.emplace(*numbers, number);
    optima.schedules.insert(std::move(*numbers));
  }
  if (count != optima.count) {
    return path + " holds " + std::to_string(count) + " schedules, optima.json counts " +
           std::to_string(optima.count);
  }
  return "";
}

}  // namespace

std::string enumeratedOptimaJson(const EnumeratedOptima& optima) {
  nlohmann::ordered_json json;
  json["jobs"] = optima.jobs;
  json["machines"] = optima.machines;
  if (!optima.instanceSha256.empty()) json["instanceSha256"] = optima.instanceSha256;
  json["bound"] = optima.bound;
  json["count"] = optima.count;
  json["complete"] = optima.complete;
  json["optimal"] = optima.optimal;
  if (!optima.listFile.empty()) json["list"] = optima.listFile;
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

std::optional<EnumeratedOptima> loadOptimaSummary(const std::string& folder, std::string& problem) {
  problem.clear();
  const std::string path = pathInFolder(folder, kEnumeratedOptimaFileName);
  std::error_code ignored;
  if (!std::filesystem::exists(path, ignored)) return std::nullopt;
  const std::optional<std::string> text = readWholeFile(path);
  if (!text) {
    problem = "cannot read " + path;
    return std::nullopt;
  }
  EnumeratedOptima optima;
  try {
    const nlohmann::json json = nlohmann::json::parse(*text);
    optima.jobs = json.at("jobs").get<int>();
    optima.machines = json.at("machines").get<int>();
    optima.instanceSha256 = json.value("instanceSha256", std::string());
    optima.bound = json.at("bound").get<int>();
    optima.count = json.at("count").get<std::int64_t>();
    optima.complete = json.at("complete").get<bool>();
    optima.optimal = json.value("optimal", false);
    optima.listFile = json.value("list", std::string());
  } catch (const nlohmann::json::exception& error) {
    problem = path + ": " + error.what();
    return std::nullopt;
  }
  if (optima.jobs < 1 || optima.machines < 1 || optima.count < 0) {
    problem = path + ": jobs, machines or count out of range";
    return std::nullopt;
  }
  return optima;
}

std::optional<EnumeratedOptima> loadEnumeratedOptima(const std::string& folder,
                                                     std::string& problem) {
  std::optional<EnumeratedOptima> optima = loadOptimaSummary(folder, problem);
  if (!optima || optima->listFile.empty()) return optima;
  problem = loadList(pathInFolder(folder, optima->listFile), *optima);
  if (!problem.empty()) return std::nullopt;
  return optima;
}

}  // namespace jobshop
