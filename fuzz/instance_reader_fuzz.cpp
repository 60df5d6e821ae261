// Fuzzing "D_Entrada.txt": every text is either refused with a one-line readable message or read
// into an instance the run can work with.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_checks.h"
#include "input/input_error.h"
#include "input/instance_reader.h"
#include "input/line_reader.h"

using namespace jobshop;

namespace {

bool isWorkable(const Instance& instance) {
  if (instance.jobs < 1 || instance.jobs > kMaxJobs || instance.machines < 1) return false;
  const std::int64_t genes = std::int64_t{instance.jobs} * instance.machines;
  if (genes > kMaxGenes) return false;
  const std::size_t size = static_cast<std::size_t>(genes);
  if (instance.times.size() != size || instance.routing.size() != size) return false;
  std::int64_t total = 0;
  for (const int time : instance.times) {
    if (time < 0) return false;
    total += time;
  }
  if (total > kMaxTotalTime) return false;
  const std::size_t machines = static_cast<std::size_t>(instance.machines);
  std::vector<char> seen(machines + 1);
  for (std::size_t row = 0; row < static_cast<std::size_t>(instance.jobs); ++row) {
    std::fill(seen.begin(), seen.end(), 0);
    for (std::size_t o = 0; o < machines; ++o) {
      const int machine = instance.routing[row * machines + o];
      if (machine < 1 || machine > instance.machines) return false;
      if (seen[static_cast<std::size_t>(machine)]++) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    std::vector<std::string> warnings;
    const Instance instance =
        parseInstanceLines(splitLines(fuzzText(data, size)), "D_Entrada.txt", &warnings);
    fuzzCheck(isWorkable(instance), "an accepted instance is one the run can work with");
    fuzzCheck(warnings.size() <= 4,
              "at most a lossy line, a short row, a long row and an unreachable target");
    for (const std::string& warning : warnings) {
      fuzzCheck(warning.rfind("D_Entrada.txt, línea ", 0) == 0,
                "a warning names the file and line");
      fuzzCheck(isPrintableUtf8(warning), "a warning is printable UTF-8 on one line");
    }
  } catch (const InputError& error) {
    fuzzCheck(!error.cannotOpen(), "text in memory is never 'cannot open'");
    fuzzCheck(error.message.rfind("D_Entrada.txt, línea ", 0) == 0,
              "a refusal names the file and line");
    fuzzCheck(isPrintableUtf8(error.message), "a refusal is printable UTF-8 on one line");
  }
  return 0;
}
