// The files an execution writes: the five result files, the trace, executions.jsonl, the commit
// journal and the folder's lock.
#include "run/main_run_outputs.h"

#include <vector>

#include "input/instance_reader.h"
#include "input/parameter_reader.h"
#include "results/execution_record.h"
#include "results/folder_lock.h"
#include "results/output_clash.h"
#include "results/result_files.h"
#include "run/main_run_messages.h"

namespace jobshop {

namespace {

std::vector<std::string> mainRunOutputs(const std::string& folder) {
  std::vector<std::string> outputs;
  for (const char* name : kResultFileNames) outputs.push_back(folder + name);
  for (const char* name :
       {kTraceFileName, kExecutionRecordFileName, kJournalFileName, kFolderLockFileName})
    outputs.push_back(folder + name);
  return outputs;
}

}  // namespace

std::optional<std::string> mainRunOutputClash(const std::string& folder) {
  const std::vector<std::string> inputs{folder + kInstanceFileName, folder + kParametersFileName};
  for (const std::string& output : mainRunOutputs(folder))
    if (const std::optional<std::string> input = clashingFile(output, inputs))
      return outputOnInputMessage(output, *input);
  const std::vector<std::string> records = folderRecordFiles(folder);
  for (const std::string& output : mainRunOutputs(folder))
    if (const std::optional<std::string> record =
            clashingFile(output, filesOtherThan(records, {output})))
      return outputOnRecordMessage(output, *record);
  return std::nullopt;
}

}  // namespace jobshop
