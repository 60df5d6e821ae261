// Writing and reading the manifest; rows are checked so that a hand-edited file cannot send an
// execution outside the campaign folder.
#include "campaigns/manifest.h"

#include <charconv>
#include <sstream>

#include "campaigns/campaign_file.h"
#include "input/input_error.h"
#include "input/line_reader.h"
#include "input/parameter_table.h"

namespace jobshop {

namespace {

constexpr int kLeadingColumns = 8;

std::string headerLine() {
  std::string line = "folder\tinstance\tsetting\trepetition\tseed\tjobs\tmachines\ttarget";
  for (const ParameterField& field : kParameterFields) line += std::string("\t") + field.name;
  return line + "\n";
}

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
    fields.push_back(line.substr(start, tab - start));
  fields.push_back(line.substr(start));
  return fields;
}

template <class Number>
bool parseNumber(const std::string& text, Number& value) {
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  return !text.empty() && error == std::errc() && stop == end;
}

// Three plain names separated by '/', the last all digits: never absolute, never "..".
bool isExecutionFolder(const std::string& folder) {
  std::istringstream parts(folder);
  std::string part;
  int count = 0;
  while (std::getline(parts, part, '/')) {
    if (part.empty() || part.front() == '.') return false;
    ++count;
  }
  return count == 3 && folder.back() != '/';
}

}  // namespace

std::string formatManifest(const std::vector<PlannedExecution>& executions) {
  std::string text = headerLine();
  for (const PlannedExecution& e : executions) {
    std::vector<std::string> fields = {e.folder,
                                       e.instance,
                                       e.setting,
                                       std::to_string(e.repetition),
                                       std::to_string(e.seed),
                                       std::to_string(e.jobs),
                                       std::to_string(e.machines),
                                       std::to_string(e.target)};
    for (const ParameterField& field : kParameterFields)
      fields.push_back(std::to_string(field.valueIn(e.parameters)));
    for (std::size_t i = 0; i < fields.size(); ++i) {
      text += fields[i];
      text += i + 1 < fields.size() ? '\t' : '\n';
    }
  }
  return text;
}

std::vector<PlannedExecution> readManifest(const std::string& campaignFolder) {
  const std::string path = campaignFolder + kManifestFileName;
  const auto lines = readFileLines(path);
  if (!lines)
    throw InputError{path +
                     ": expected a campaign manifest, found no readable file (plan the "
                     "campaign first: jobshop-niching campaign plan FILE --into DIR)"};
  return parseManifestLines(*lines, path);
}

std::vector<PlannedExecution> parseManifestLines(const std::vector<std::string>& lines,
                                                 const std::string& path) {
  auto refuse = [&path](std::size_t line, const std::string& what) {
    throw InputError{path + ":" + std::to_string(line) + ": " + what};
  };
  if (lines.empty() || lines[0] + "\n" != headerLine())
    refuse(1, "expected the manifest header line, found something else");
  std::vector<PlannedExecution> executions;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> fields = splitTabs(lines[i]);
    if (fields.size() !=
        static_cast<std::size_t>(kLeadingColumns) + static_cast<std::size_t>(kParameterFieldCount))
      refuse(i + 1, "expected " + std::to_string(kLeadingColumns + kParameterFieldCount) +
                        " tab-separated fields, found " + std::to_string(fields.size()));
    PlannedExecution e;
    e.folder = fields[0];
    e.instance = fields[1];
    e.setting = fields[2];
    if (!isExecutionFolder(e.folder) || e.folder != e.instance + "/" + e.setting + "/" + fields[3])
      refuse(i + 1, "expected a folder INSTANCE/SETTING/K, found \"" + e.folder + "\"");
    bool numbers = parseNumber(fields[3], e.repetition) && parseNumber(fields[4], e.seed) &&
                   parseNumber(fields[5], e.jobs) && parseNumber(fields[6], e.machines) &&
                   parseNumber(fields[7], e.target);
    for (int field = 0; field < kParameterFieldCount && numbers; ++field) {
      int value = 0;
      numbers = parseNumber(
          fields[static_cast<std::size_t>(kLeadingColumns) + static_cast<std::size_t>(field)],
          value);
      kParameterFields[static_cast<std::size_t>(field)].setIn(e.parameters, value);
    }
    if (!numbers) refuse(i + 1, "expected whole numbers after the setting, found other text");
    executions.push_back(std::move(e));
  }
  return executions;
}

}  // namespace jobshop
