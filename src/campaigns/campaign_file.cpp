// Reading the campaign file with toml++, every refusal naming the file and line.
#include "campaigns/campaign_file.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>

#include "input/input_error.h"
#include "results/file_digest.h"

namespace {

struct Context {
  std::string path;

  [[noreturn]] void refuse(const toml::source_region& where, const std::string& what) const {
    throw InputError{path + ":" + std::to_string(where.begin.line) + ": " + what};
  }
};

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
  const std::string key = kParameterFieldNames[field];
  if (isFlagField(field)) return flagValue(context, node, key);
  return intValue(context, node, key, std::numeric_limits<int>::min(),
                  std::numeric_limits<int>::max());
}

int fieldIndex(const std::string& key) {
  for (int field = 0; field < 19; ++field)
    if (key == kParameterFieldNames[field]) return field;
  return -1;
}

ParameterChoice readChoice(const Context& context, const toml::node& node, int field) {
  ParameterChoice choice;
  choice.field = field;
  choice.line = static_cast<int>(node.source().begin.line);
  if (const toml::array* list = node.as_array()) {
    if (list->empty())
      context.refuse(node.source(), std::string("expected at least one value for ") +
                                        kParameterFieldNames[field] + ", found an empty list");
    choice.isAxis = true;
    for (const toml::node& item : *list) {
      const int value = fieldValue(context, item, field);
      for (int earlier : choice.values)
        if (earlier == value)
          context.refuse(item.source(), std::string("expected distinct values for ") +
                                            kParameterFieldNames[field] + ", found " +
                                            std::to_string(value) + " twice");
      choice.values.push_back(value);
    }
  } else {
    choice.values.push_back(fieldValue(context, node, field));
  }
  return choice;
}

// Instance names become folder names: nothing that could leave the campaign folder or hide.
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
    context.refuse(key.source(),
                   "expected an instance name of letters, digits, '-', '_' and '.' (not first), "
                   "found \"" +
                       instance.name + "\"");
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
                                         ", found \"" + std::string(field.str()) + "\"");
    }
  }
  if (instance.path.empty())
    context.refuse(node.source(), "expected a file for " + instance.name + ", found none");
  return instance;
}

}  // namespace

CampaignFile readCampaignFile(const std::string& path) {
  const std::optional<std::string> text = readFileBytes(path);
  if (!text)
    throw InputError{
        path + ": expected a readable campaign file, found File could not be opened for reading"};
  return parseCampaignText(*text, path);
}

CampaignFile parseCampaignText(std::string_view text, const std::string& path) {
  const Context context{path};
  toml::table root;
  try {
    root = toml::parse(text, path);
  } catch (const toml::parse_error& error) {
    const std::string description(error.description());
    if (error.source().begin.line == 0)
      throw InputError{path + ": expected a readable campaign file, found " + description};
    context.refuse(error.source(), "expected valid TOML, found " + description);
  }
  CampaignFile campaign;
  campaign.path = path;
  campaign.name = std::filesystem::path(path).stem().string();
  bool hasInstances = false;
  for (auto&& [key, node] : root) {
    if (key == "name") {
      if (!node.is_string())
        context.refuse(node.source(), "expected a string for name, found " + describe(node));
      campaign.name = node.as_string()->get();
    } else if (key == "repetitions") {
      campaign.repetitions = intValue(context, node, "repetitions", 1, 1000000);
    } else if (key == "base_seed") {
      campaign.baseSeed = intValue(context, node, "base_seed", 0, std::numeric_limits<int>::max());
    } else if (key == "instances") {
      const toml::table* instances = node.as_table();
      if (instances == nullptr)
        context.refuse(node.source(), "expected an [instances] table, found " + describe(node));
      hasInstances = true;
      for (auto&& [name, entry] : *instances)
        campaign.instances.push_back(readInstanceEntry(context, name, entry));
    } else if (key == "parameters") {
      const toml::table* parameters = node.as_table();
      if (parameters == nullptr)
        context.refuse(node.source(), "expected a [parameters] table, found " + describe(node));
      for (auto&& [name, value] : *parameters) {
        const int field = fieldIndex(std::string(name.str()));
        if (field < 0)
          context.refuse(name.source(),
                         "expected a field of D_Algoritmo.txt (populationSize, "
                         "maxEvaluations, ..., crowdingGroupSize), found \"" +
                             std::string(name.str()) + "\"");
        campaign.parameters.push_back(readChoice(context, value, field));
      }
    } else {
      context.refuse(key.source(),
                     "expected name, repetitions, base_seed, [instances] or "
                     "[parameters], found \"" +
                         std::string(key.str()) + "\"");
    }
  }
  if (!hasInstances || campaign.instances.empty())
    throw InputError{path +
                     ":1: expected an [instances] table with at least one instance, found "
                     "none"};
  std::sort(campaign.parameters.begin(), campaign.parameters.end(),
            [](const ParameterChoice& a, const ParameterChoice& b) { return a.field < b.field; });
  // Tables come back ordered by key; instances are run and shown in the order written.
  std::sort(campaign.instances.begin(), campaign.instances.end(),
            [](const CampaignInstance& a, const CampaignInstance& b) { return a.line < b.line; });
  return campaign;
}
