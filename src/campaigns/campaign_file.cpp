// Reading the campaign file with toml++, every refusal naming the file and line.
#include "campaigns/campaign_file.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <set>
#include <sstream>

#include "campaigns/toml_nesting.h"
#include "input/input_error.h"
#include "support/bounded_file.h"
#include "support/nearest_name.h"

namespace jobshop {

namespace {

struct Context {
  std::string path;

  [[noreturn]] void refuse(const toml::source_region& where, const std::string& what) const {
    throw InputError{path + ":" + std::to_string(where.begin.line) + ": " + what};
  }
};

// " (did you mean NAME?)" for the name of names that key most likely misspells, or "".
std::string suggestion(std::string_view key, const std::vector<std::string>& names) {
  const std::optional<std::string> nearest = nearestName(key, names);
  return nearest ? " (did you mean " + *nearest + "?)" : "";
}

std::vector<std::string> parameterNames() {
  std::vector<std::string> names;
  names.reserve(kParameterFields.size());
  for (const ParameterField& field : kParameterFields) names.emplace_back(field.name);
  return names;
}

std::vector<std::string> nichingKeys() {
  std::vector<std::string> keys{"niching"};
  for (const NichingField& field : kNichingFields) keys.emplace_back(field.name);
  return keys;
}

std::string listed(const std::vector<std::string>& names) {
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i) list += (i == 0 ? "" : ", ") + names[i];
  return list;
}

// Every key by name, so that a refused key can be put right without a look at a manual.
std::string unknownParameter(std::string_view key) {
  std::vector<std::string> names = parameterNames();
  const std::vector<std::string> niching = nichingKeys();
  std::vector<std::string> keys = names;
  keys.insert(keys.end(), niching.begin(), niching.end());
  return "expected a field of D_Algoritmo.txt, found \"" + std::string(key) + "\"" +
         suggestion(key, keys) + "; the fields are " + listed(names) + "; the niching keys are " +
         listed(niching);
}

std::string describe(const toml::node& node) {
  switch (node.type()) {
    case toml::node_type::string:
      return "the string \"" + std::string(node.as_string()->get()) + "\"";
    case toml::node_type::integer:
      return "the integer " + std::to_string(node.as_integer()->get());
    case toml::node_type::floating_point:
      return "a floating-point number";
    case toml::node_type::boolean:
      return node.as_boolean()->get() ? "true" : "false";
    case toml::node_type::array:
      return "a list";
    case toml::node_type::table:
      return "a table";
    default:
      return "a date or time";
  }
}

int intValue(const Context& context, const toml::node& node, const std::string& key,
             std::int64_t lowest, std::int64_t highest) {
  if (!node.is_integer())
    context.refuse(node.source(),
                   "expected a whole number for " + key + ", found " + describe(node));
  const std::int64_t value = node.as_integer()->get();
  if (value < lowest || value > highest)
    context.refuse(node.source(), "expected " + key + " from " + std::to_string(lowest) + " to " +
                                      std::to_string(highest) + ", found " + std::to_string(value));
  return static_cast<int>(value);
}

// A flag is written true/false, or 1/0 as in "D_Algoritmo.txt".
int flagValue(const Context& context, const toml::node& node, const std::string& key) {
  if (node.is_boolean()) return node.as_boolean()->get() ? 1 : 0;
  if (node.is_integer() && (node.as_integer()->get() == 0 || node.as_integer()->get() == 1))
    return static_cast<int>(node.as_integer()->get());
  context.refuse(node.source(),
                 "expected true, false, 1 or 0 for " + key + ", found " + describe(node));
}

int fieldValue(const Context& context, const toml::node& node, int field) {
  const ParameterField& described = kParameterFields[static_cast<std::size_t>(field)];
  const std::string key = described.name;
  if (described.isFlag()) return flagValue(context, node, key);
  return intValue(context, node, key, std::numeric_limits<int>::min(),
                  std::numeric_limits<int>::max());
}

int fieldIndex(const std::string& key) {
  for (int field = 0; field < kParameterFieldCount; ++field)
    if (key == kParameterFields[static_cast<std::size_t>(field)].name) return field;
  return -1;
}

// No axis can hold more values than a campaign may have executions; refused at the first value
// past that, before the rest of the list is looked at.
void checkAxisLength(const Context& context, const toml::node& item, const std::string& key,
                     std::size_t valuesBefore) {
  if (static_cast<std::int64_t>(valuesBefore) < kMaxCampaignExecutions) return;
  context.refuse(item.source(), "expected at most " + std::to_string(kMaxCampaignExecutions) +
                                    " values for " + key + ", found more");
}

ParameterChoice readChoice(const Context& context, const toml::node& node, int field) {
  ParameterChoice choice;
  choice.field = field;
  choice.line = static_cast<int>(node.source().begin.line);
  if (const toml::array* list = node.as_array()) {
    if (list->empty())
      context.refuse(node.source(), std::string("expected at least one value for ") +
                                        kParameterFields[static_cast<std::size_t>(field)].name +
                                        ", found an empty list");
    choice.isAxis = true;
    const std::string key = kParameterFields[static_cast<std::size_t>(field)].name;
    std::set<int> seen;
    for (const toml::node& item : *list) {
      checkAxisLength(context, item, key, choice.values.size());
      const int value = fieldValue(context, item, field);
      if (!seen.insert(value).second)
        context.refuse(item.source(), "expected distinct values for " + key + ", found " +
                                          std::to_string(value) + " twice");
      choice.values.push_back(value);
    }
  } else {
    choice.values.push_back(fieldValue(context, node, field));
  }
  return choice;
}

NichingMethod methodValue(const Context& context, const toml::node& node) {
  const std::vector<std::string> names = nichingMethodNames();
  const std::optional<NichingMethod> method =
      node.is_string() ? nichingMethodNamed(node.as_string()->get()) : std::nullopt;
  if (!method)
    context.refuse(node.source(),
                   "expected a niching method (" + listed(names) + ") for niching, found " +
                       describe(node) +
                       (node.is_string() ? suggestion(node.as_string()->get(), names) : ""));
  return *method;
}

double settingValue(const Context& context, const toml::node& node, const NichingField& field) {
  const bool number = node.is_integer() || (!field.whole && node.is_floating_point());
  const double value = node.is_integer() ? static_cast<double>(node.as_integer()->get())
                       : number          ? node.as_floating_point()->get()
                                         : 0.0;
  if (!number || !acceptsValue(field, value))
    context.refuse(node.source(),
                   std::string("expected ") +
                       (field.whole ? "a whole number from 1" : "a finite number above 0") +
                       " for " + field.name + ", found " + describe(node));
  return value;
}

// One value of the choice, refused when the list already holds it.
void addNichingValue(const Context& context, const toml::node& node, NichingChoice& choice,
                     std::set<double>& seen) {
  const std::string key = choice.setting ? nichingField(*choice.setting).name : "niching";
  checkAxisLength(context, node, key, choice.size());
  bool repeated = false;
  std::string shown;
  if (choice.setting) {
    const double value = settingValue(context, node, nichingField(*choice.setting));
    repeated = !seen.insert(value).second;
    shown = nichingValueText(value);
    choice.values.push_back(value);
  } else {
    const NichingMethod method = methodValue(context, node);
    repeated =
        std::find(choice.methods.begin(), choice.methods.end(), method) != choice.methods.end();
    shown = nichingMethodName(method);
    choice.methods.push_back(method);
  }
  if (repeated)
    context.refuse(node.source(),
                   "expected distinct values for " + key + ", found " + shown + " twice");
}

NichingChoice readNichingChoice(const Context& context, const toml::node& node,
                                std::optional<NichingSetting> setting) {
  NichingChoice choice;
  choice.setting = setting;
  choice.line = static_cast<int>(node.source().begin.line);
  const toml::array* list = node.as_array();
  std::set<double> seen;
  if (list == nullptr) {
    addNichingValue(context, node, choice, seen);
    return choice;
  }
  if (list->empty())
    context.refuse(node.source(), std::string("expected at least one value for ") +
                                      (setting ? nichingField(*setting).name : "niching") +
                                      ", found an empty list");
  choice.isAxis = true;
  for (const toml::node& item : *list) addNichingValue(context, item, choice, seen);
  return choice;
}

std::optional<NichingSetting> nichingSettingNamed(std::string_view key) {
  for (const NichingField& field : kNichingFields)
    if (key == field.name) return field.setting;
  return std::nullopt;
}

// A method's setting is refused unless the campaign runs that method: chosen, or on the axis.
void checkSettingsHaveTheirMethod(const Context& context, const CampaignFile& campaign) {
  std::vector<NichingMethod> methods{NichingMethod::crowding};
  for (const NichingChoice& choice : campaign.niching)
    if (!choice.setting) methods = choice.methods;
  for (const NichingChoice& choice : campaign.niching) {
    if (!choice.setting) continue;
    const NichingField& field = nichingField(*choice.setting);
    if (std::find(methods.begin(), methods.end(), field.method) != methods.end()) continue;
    std::vector<std::string> names;
    names.reserve(methods.size());
    for (NichingMethod method : methods) names.emplace_back(nichingMethodName(method));
    throw InputError{context.path + ":" + std::to_string(choice.line) + ": expected " + field.name +
                     " only with niching \"" + nichingMethodName(field.method) +
                     "\", the one method it applies to, found niching " + listed(names)};
  }
}

std::string nameRule(const char* what) {
  return std::string("expected ") + what +
         " of letters, digits, '-', '_' and '.' (not first), found \"";
}

// Instance and campaign names become folder names: nothing that could leave the campaign folder
// or hide.
bool isPlainName(const std::string& name) {
  if (name.empty() || name.size() > 100 || name.front() == '.') return false;
  for (char c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.')
      return false;
  return true;
}

std::string resolvedPath(const Context& context, const std::string& file) {
  const std::filesystem::path given(file);
  if (given.is_absolute()) return given.string();
  return (std::filesystem::path(context.path).parent_path() / given).lexically_normal().string();
}

CampaignInstance readInstanceEntry(const Context& context, const toml::key& key,
                                   const toml::node& node) {
  CampaignInstance instance;
  instance.name = std::string(key.str());
  instance.line = static_cast<int>(key.source().begin.line);
  if (!isPlainName(instance.name))
    context.refuse(key.source(), nameRule("an instance name") + instance.name + "\"");
  if (const toml::value<std::string>* file = node.as_string()) {
    instance.path = resolvedPath(context, file->get());
    return instance;
  }
  const toml::table* entry = node.as_table();
  if (entry == nullptr)
    context.refuse(node.source(), "expected a file name or { file = ..., target = ... } for " +
                                      instance.name + ", found " + describe(node));
  for (auto&& [field, value] : *entry) {
    if (field == "file") {
      if (!value.is_string())
        context.refuse(value.source(), "expected a file name for " + instance.name +
                                           ".file, found " + describe(value));
      instance.path = resolvedPath(context, value.as_string()->get());
    } else if (field == "target") {
      instance.target =
          intValue(context, value, instance.name + ".target", 0, std::numeric_limits<int>::max());
    } else {
      context.refuse(field.source(), "expected file or target in the entry of " + instance.name +
                                         ", found \"" + std::string(field.str()) + "\"" +
                                         suggestion(field.str(), {"file", "target"}));
    }
  }
  if (instance.path.empty())
    context.refuse(node.source(), "expected a file for " + instance.name + ", found none");
  return instance;
}

// The decimal digits of the product of factors, exact however large.
std::string decimalProduct(const std::vector<std::uint64_t>& factors) {
  std::vector<std::uint32_t> digits{1};  // least significant first
  for (const std::uint64_t factor : factors) {
    std::uint64_t carry = 0;
    for (std::uint32_t& digit : digits) {
      const unsigned __int128 value = static_cast<unsigned __int128>(digit) * factor + carry;
      digit = static_cast<std::uint32_t>(value % 10);
      carry = static_cast<std::uint64_t>(value / 10);
    }
    for (; carry > 0; carry /= 10) digits.push_back(static_cast<std::uint32_t>(carry % 10));
  }
  while (digits.size() > 1 && digits.back() == 0) digits.pop_back();
  std::string text;
  for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit)
    text += static_cast<char>('0' + *digit);
  return text;
}

std::string counted(std::uint64_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Refused before anything is expanded: the count is worked out from the list lengths alone.
void checkExecutionCount(const Context& context, const CampaignFile& campaign,
                         int repetitionsLine) {
  std::vector<std::uint64_t> axes;
  int line = repetitionsLine;
  for (const ParameterChoice& choice : campaign.parameters) {
    if (!choice.isAxis) continue;
    axes.push_back(choice.values.size());
    line = std::max(line, choice.line);
  }
  // Before the settings where a method's values do not apply collapse: a bound from above.
  for (const NichingChoice& choice : campaign.niching) {
    if (!choice.isAxis) continue;
    axes.push_back(choice.size());
    line = std::max(line, choice.line);
  }
  std::vector<std::uint64_t> factors = axes;
  factors.push_back(campaign.instances.size());
  factors.push_back(static_cast<std::uint64_t>(campaign.repetitions));
  const std::string total = decimalProduct(factors);
  if (total.size() < 8 && std::stoll(total) <= kMaxCampaignExecutions) return;
  const std::string settings = decimalProduct(axes);
  throw InputError{
      context.path + ":" + std::to_string(line) + ": expected at most " +
      std::to_string(kMaxCampaignExecutions) + " executions, found " + total + " (" +
      counted(campaign.instances.size(), "instance", "instances") + " × " + settings +
      (settings == "1" ? " setting" : " settings") + " × " +
      counted(static_cast<std::uint64_t>(campaign.repetitions), "repetition", "repetitions") + ")"};
}

toml::table parseToml(std::string_view text, const Context& context) {
  const std::string& path = context.path;
  if (const std::optional<std::size_t> line = firstTooDeepLine(text, kMaxTomlNesting))
    throw InputError{path + ":" + std::to_string(*line) + ": expected at most " +
                     std::to_string(kMaxTomlNesting) +
                     " levels of dotted keys, tables and arrays, found more"};
  try {
    return toml::parse(text, path);
  } catch (const toml::parse_error& error) {
    const std::string description(error.description());
    if (error.source().begin.line == 0)
      throw InputError{path + ": expected a readable campaign file, found " + description};
    context.refuse(error.source(), "expected valid TOML, found " + description);
  }
  return {};
}

void readName(const Context& context, const toml::node& node, CampaignFile& campaign) {
  if (!node.is_string())
    context.refuse(node.source(), "expected a string for name, found " + describe(node));
  campaign.name = node.as_string()->get();
  campaign.nameGiven = true;
  if (!isPlainName(campaign.name))
    context.refuse(node.source(), nameRule("a campaign name") + campaign.name + "\"");
}

void readInstances(const Context& context, const toml::node& node, CampaignFile& campaign) {
  const toml::table* instances = node.as_table();
  if (instances == nullptr)
    context.refuse(node.source(), "expected an [instances] table, found " + describe(node));
  for (auto&& [name, entry] : *instances)
    campaign.instances.push_back(readInstanceEntry(context, name, entry));
}

void readParameters(const Context& context, const toml::node& node, CampaignFile& campaign) {
  const toml::table* parameters = node.as_table();
  if (parameters == nullptr)
    context.refuse(node.source(), "expected a [parameters] table, found " + describe(node));
  for (auto&& [name, value] : *parameters) {
    if (name == "niching") {
      campaign.niching.push_back(readNichingChoice(context, value, std::nullopt));
      continue;
    }
    if (const std::optional<NichingSetting> setting = nichingSettingNamed(name.str())) {
      campaign.niching.push_back(readNichingChoice(context, value, setting));
      continue;
    }
    const int field = fieldIndex(std::string(name.str()));
    if (field < 0) context.refuse(name.source(), unknownParameter(name.str()));
    campaign.parameters.push_back(readChoice(context, value, field));
  }
}

// What the file must hold besides its keys: instances, and a name for the folder.
void checkComplete(const Context& context, const CampaignFile& campaign, bool hasInstances) {
  if (!hasInstances || campaign.instances.empty())
    throw InputError{context.path +
                     ":1: expected an [instances] table with at least one instance, found "
                     "none"};
  if (campaign.name.empty() || campaign.name.front() == '.')
    throw InputError{context.path +
                     ":1: expected name = \"...\", since the file's own name gives the "
                     "campaign no folder name, found none"};
}

}  // namespace

CampaignFile readCampaignFile(const std::string& path) {
  const BoundedRead read = readBoundedFile(path, kMaxInputFileBytes);
  if (read.failure == BoundedReadFailure::kUnreadable)
    throw InputError{
        path + ": expected a readable campaign file, found File could not be opened for reading"};
  if (!read.text)
    throw InputError{path + ": expected a readable campaign file, found " + read.problem};
  return parseCampaignText(*read.text, path);
}

CampaignFile parseCampaignText(std::string_view text, const std::string& path) {
  const Context context{path};
  const toml::table root = parseToml(text, context);
  CampaignFile campaign;
  campaign.path = path;
  campaign.name = std::filesystem::path(path).stem().string();
  bool hasInstances = false;
  int repetitionsLine = 1;
  for (auto&& [key, node] : root) {
    if (key == "name") {
      readName(context, node, campaign);
    } else if (key == "repetitions") {
      campaign.repetitions = intValue(context, node, "repetitions", 1, kMaxCampaignExecutions);
      repetitionsLine = static_cast<int>(node.source().begin.line);
    } else if (key == "base_seed") {
      campaign.baseSeed = intValue(context, node, "base_seed", 0, std::numeric_limits<int>::max());
    } else if (key == "instances") {
      readInstances(context, node, campaign);
      hasInstances = true;
    } else if (key == "parameters") {
      readParameters(context, node, campaign);
    } else {
      context.refuse(key.source(),
                     "expected name, repetitions, base_seed, [instances] or "
                     "[parameters], found \"" +
                         std::string(key.str()) + "\"" +
                         suggestion(key.str(), {"name", "repetitions", "base_seed", "instances",
                                                "parameters"}));
    }
  }
  checkComplete(context, campaign, hasInstances);
  checkSettingsHaveTheirMethod(context, campaign);
  checkExecutionCount(context, campaign, repetitionsLine);
  std::sort(campaign.parameters.begin(), campaign.parameters.end(),
            [](const ParameterChoice& a, const ParameterChoice& b) { return a.field < b.field; });
  // The method first (nullopt orders before every setting), then the settings in table order.
  std::sort(campaign.niching.begin(), campaign.niching.end(),
            [](const NichingChoice& a, const NichingChoice& b) { return a.setting < b.setting; });
  // Tables come back ordered by key; instances are run and shown in the order written.
  std::sort(campaign.instances.begin(), campaign.instances.end(),
            [](const CampaignInstance& a, const CampaignInstance& b) { return a.line < b.line; });
  return campaign;
}

}  // namespace jobshop
