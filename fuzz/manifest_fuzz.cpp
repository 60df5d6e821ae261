// Fuzzing campaign manifests: a refusal is one InputError naming the file and line; an accepted
// manifest keeps every execution inside the campaign folder and reads back from its own text.
#include <cstdint>

#include "campaigns/manifest.h"
#include "fuzz_checks.h"
#include "input/input_error.h"
#include "input/line_reader.h"

using namespace jobshop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = "campaign/manifest.tsv";
  std::vector<PlannedExecution> executions;
  try {
    executions = parseManifestLines(splitLines(fuzzText(data, size)), path);
  } catch (const InputError& error) {
    fuzzCheck(error.message.rfind(path + ":", 0) == 0, "a refusal names the file");
    return 0;
  }
  for (const PlannedExecution& e : executions) {
    fuzzCheck(e.folder.front() != '/' && e.folder.find("..") != 0 &&
                  e.folder.find("/.") == std::string::npos,
              "an execution folder stays inside the campaign");
  }
  // Planning again rewrites the manifest from what it read: that text must read back the same.
  try {
    const std::vector<PlannedExecution> again =
        parseManifestLines(splitLines(formatManifest(executions)), path);
    fuzzCheck(again.size() == executions.size(), "the rewritten manifest lists the same rows");
    for (std::size_t k = 0; k < again.size(); ++k)
      fuzzCheck(again[k].folder == executions[k].folder && again[k].seed == executions[k].seed &&
                    again[k].repetition == executions[k].repetition,
                "the rewritten manifest holds the same rows");
  } catch (const InputError&) {
    fuzzCheck(false, "a manifest written from an accepted one is accepted");
  }
  return 0;
}
