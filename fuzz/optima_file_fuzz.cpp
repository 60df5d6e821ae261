// Fuzzing "optima.json": any text is read or refused with a printable reason naming the file; what
// is read holds together (the count named as it is, the estimates' samples within their subtrees,
// the backbone's orders within the instance, each pair once, in order), and optima.json written
// from it reads back the same.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "fuzz_checks.h"
#include "results/optima_file.h"

using namespace jobshop;

namespace {

constexpr const char* kPath = "optima.json";

void checkBackbone(const EnumeratedOptima& read) {
  if (!read.backbone) return;
  const OptimaBackbone& backbone = *read.backbone;
  fuzzCheck(read.complete, "only a complete count has a backbone");
  fuzzCheck(backbone.of == machinePairs(read.jobs, read.machines), "the backbone is of the pairs");
  fuzzCheck(backbone.pairs() <= backbone.of, "no more orders than pairs");
  std::array<int, 3> last{0, 0, 0};
  for (const auto& [machine, before, after] : backbone.orders) {
    fuzzCheck(machine >= 1 && machine <= read.machines, "an order's machine is the instance's");
    fuzzCheck(
        before >= 1 && before <= read.jobs && after >= 1 && after <= read.jobs && before != after,
        "an order's jobs are two of the instance's");
    const std::array<int, 3> pair{machine, std::min(before, after), std::max(before, after)};
    fuzzCheck(last < pair, "each pair once, machine by machine, then by its jobs");
    last = pair;
  }
}

void checkEstimates(const EnumeratedOptima& read) {
  if (const auto& e = read.subtreeEstimate)
    fuzzCheck(e->counted >= 0 && e->counted <= e->subtrees, "a sample of the subtrees");
  if (const auto& e = read.sampleEstimate) {
    fuzzCheck(e->sampled <= e->unsettled && e->settled + e->unsettled <= e->subtrees,
              "the sample within the unsettled subtrees, those within the cut");
    fuzzCheck(e->low <= e->high && e->level > 0 && e->level < 1, "an interval at a level");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const OrFailure<EnumeratedOptima> read =
      parseOptimaSummary(std::string(fuzzText(data, size)), kPath);
  if (!read) {
    fuzzCheck(read.reason().rfind(std::string(kPath) + ": ", 0) == 0, "a refusal names the file");
    fuzzCheck(isPrintableUtf8(read.reason()), "a refusal is printable");
    return 0;
  }
  fuzzCheck(read->jobs >= 1 && read->machines >= 1 && read->count >= 0, "an instance and a count");
  fuzzCheck(read->countDigits.empty() || read->countDigits.size() >= 19,
            "digits only for a count beyond the int64 maximum");
  checkBackbone(*read);
  checkEstimates(*read);
  const std::string written = enumeratedOptimaJson(*read);
  const OrFailure<EnumeratedOptima> again = parseOptimaSummary(written, kPath);
  fuzzCheck(static_cast<bool>(again), "what was read writes a file that reads");
  fuzzCheck(enumeratedOptimaJson(*again) == written, "optima.json reads back the same");
  return 0;
}
