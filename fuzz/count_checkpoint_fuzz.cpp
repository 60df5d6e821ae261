// Fuzzing the count's checkpoint: any text is read as a checkpoint or refused with a reason, and a
// checkpoint read back from its own text is the same.
#include <cstdint>

#include "fuzz_checks.h"
#include "results/count_checkpoint.h"

using namespace jobshop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const OrFailure<CountCheckpoint> read = parseCountCheckpoint(std::string(fuzzText(data, size)));
  if (!read) {
    fuzzCheck(!read.reason().empty(), "a refusal gives its reason");
    return 0;
  }
  for (const auto& [index, count] : read->done) {
    fuzzCheck(index >= 0 && index < read->subtrees, "every subtree done is one of the cut");
    fuzzCheck(!count.empty(), "every count has digits");
  }
  const OrFailure<CountCheckpoint> again = parseCountCheckpoint(countCheckpointJson(*read));
  fuzzCheck(again && again->done == read->done && again->bound == read->bound &&
                again->subtrees == read->subtrees && again->instanceSha256 == read->instanceSha256,
            "a checkpoint reads back from its own text");
  return 0;
}
