// Writing and reading the manifest; rows are checked so that a hand-edited file cannot send an
// execution outside the campaign folder.
#include "campaigns/manifest.h"

#include <charconv>
#include <sstream>

#include "campaigns/campaign_file.h"
#include "input/input_error.h"
#include "input/line_reader.h"
#include "input/niching_fields.h"
#include "input/parameter_table.h"
#include "support/bounded_file.h"

namespace jobshop {

namespace {

constexpr int kLeadingColumns = 8;

// The header of manifests written before niching methods existed: their executions ran crowding.
std::string headerWithoutNiching() {
  std::string line = "folder\tinstance\tsetting\trepetition\tseed\tjobs\tmachines\ttarget";
  for (const ParameterField& field : kParameterFields) line += std::string("\t") + field.name;
  return line;
}

std::string headerLine() {
  std::string line = headerWithoutNiching() + "\tniching";
  for (const NichingField& field : kNichingFields) line += std::string("\t") + field.name;
  return line + "\n";
}

constexpr std::size_t kNichingColumns = 1 + kNichingFields.size();

// The method, then each setting the execution gives its method; "" where it is left to its
// default or belongs to another method.
std::vector<std::string> nichingFields(const NichingSettings& settings) {
  std::vector<std::string> fields{nichingMethodName(settings.method)};
  for (const NichingField& field : kNichingFields) {
    const std::optional<double> value = givenValue(settings, field.setting);
    fields.push_back(field.method == settings.method && value ? nichingValueText(*value) : "");
  }
  return fields;
}

std::optional<double> settingText(const std::string& text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// The niching columns of a row; why they are refused, or nothing.
MaybeFailure readNiching(const std::vector<std::string>& columns, NichingSettings& settings) {
  const std::optional<NichingMethod> method = nichingMethodNamed(columns[0]);
  if (!method) return Failure{"expected a niching method, found \"" + columns[0] + "\""};
  settings.method = *method;
  for (std::size_t i = 0; i < kNichingFields.size(); ++i) {
    const NichingField& field = kNichingFields[i];
    const std::string& text = columns[i + 1];
    if (text.empty()) continue;
    const std::optional<double> value = settingText(text);
    if (field.method != *method || !value || !acceptsValue(field, *value))
      return Failure{std::string("expected ") + field.name + " empty or a value for " +
                     nichingMethodName(field.method) + ", found \"" + text + "\""};
    setValue(settings, field.setting, *value);
  }
  return std::nullopt;
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
    for (std::string& field : nichingFields(e.parameters.niching))
      fields.push_back(std::move(field));
    for (std::size_t i = 0; i < fields.size(); ++i) {
      text += fields[i];
      text += i + 1 < fields.size() ? '\t' : '\n';
    }
  }
  return text;
}

std::vector<PlannedExecution> readManifest(const std::string& campaignFolder) {
  const std::string path = campaignFolder + kManifestFileName;
  const BoundedRead read = readBoundedFile(path, kMaxRecordFileBytes);
  if (read.failure == BoundedReadFailure::kUnreadable)
    throw InputError{path +
                     ": expected a campaign manifest, found no readable file (plan the "
                     "campaign first: jobshop-niching campaign plan FILE --into DIR)"};
  if (!read.text) throw InputError{path + ": expected a campaign manifest, found " + read.problem};
  return parseManifestLines(splitLines(*read.text), path);
}

std::vector<PlannedExecution> parseManifestLines(const std::vector<std::string>& lines,
                                                 const std::string& path) {
  auto refuse = [&path](std::size_t line, const std::string& what) {
    throw InputError{path + ":" + std::to_string(line) + ": " + what};
  };
  const bool withNiching = !lines.empty() && lines[0] + "\n" == headerLine();
  if (!withNiching && (lines.empty() || lines[0] != headerWithoutNiching()))
    refuse(1, "expected the manifest header line, found something else");
  const std::size_t columns = static_cast<std::size_t>(kLeadingColumns) +
                              static_cast<std::size_t>(kParameterFieldCount) +
                              (withNiching ? kNichingColumns : 0);
  std::vector<PlannedExecution> executions;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> fields = splitTabs(lines[i]);
    if (fields.size() != columns)
      refuse(i + 1, "expected " + std::to_string(columns) + " tab-separated fields, found " +
                        std::to_string(fields.size()));
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
    if (withNiching) {
      const std::vector<std::string> niching(fields.end() - kNichingColumns, fields.end());
      if (const MaybeFailure why = readNiching(niching, e.parameters.niching))
        refuse(i + 1, why->reason);
    }
    executions.push_back(std::move(e));
  }
  return executions;
}

}  // namespace jobshop
