// The folder's files by name, and the comparison every command's outputs go through.
#include "results/output_clash.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "input/instance_reader.h"
#include "input/parameter_reader.h"
#include "results/count_checkpoint.h"
#include "results/execution_record.h"
#include "results/optima_file.h"
#include "results/result_files.h"
#include "support/bounded_file.h"
#include "support/text_file_output.h"
#include "support/text_files.h"

namespace jobshop {

std::optional<std::string> namedListFile(const std::string& folder) {
  const std::optional<std::string> text =
      readWholeFile(folder + kEnumeratedOptimaFileName, kMaxRecordFileBytes);
  if (!text) return std::nullopt;
  const nlohmann::json json = nlohmann::json::parse(*text, nullptr, false);
  if (!json.is_object() || !json.contains("list") || !json["list"].is_string()) return std::nullopt;
  const std::string list = json["list"].get<std::string>();
  if (list.empty()) return std::nullopt;
  return list.front() == '/' ? list : folder + list;
}

std::vector<std::string> folderOwnFiles(const std::string& folder) {
  std::vector<std::string> files{folder + kInstanceFileName, folder + kParametersFileName};
  for (const char* name : kResultFileNames) files.push_back(folder + name);
  for (const char* name : {kTraceFileName, kExecutionRecordFileName, kJournalFileName,
                           kEnumeratedOptimaFileName, kCountCheckpointFileName})
    files.push_back(folder + name);
  return files;
}

std::vector<std::string> folderRecordFiles(const std::string& folder) {
  std::vector<std::string> files = folderOwnFiles(folder);
  if (std::optional<std::string> list = namedListFile(folder)) files.push_back(std::move(*list));
  return files;
}

std::vector<std::string> filesOtherThan(std::vector<std::string> files,
                                        const std::vector<std::string>& own) {
  std::erase_if(files, [&own](const std::string& file) {
    return std::find(own.begin(), own.end(), file) != own.end();
  });
  return files;
}

std::optional<std::string> clashingFile(const std::string& output,
                                        const std::vector<std::string>& protectedFiles) {
  for (const std::string& file : protectedFiles)
    if (sameFileOrPlace(output, file)) return file;
  return std::nullopt;
}

std::string clashReason(const std::string& output, const std::string& input) {
  if (output == input)
    return output + " is the folder's own file, which the program reads or records";
  return output + " is the same file as " + input;
}

}  // namespace jobshop
