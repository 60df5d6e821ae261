// Fuzzing import of the standard and Taillard formats and of "D_Entrada.txt" itself: a refusal is
// one readable line, and an accepted instance, written as "D_Entrada.txt", reads back unchanged
// through the main run's reader.
#include <cstdint>

#include "fuzz_checks.h"
#include "input/input_error.h"
#include "input/instance_import.h"
#include "input/instance_reader.h"
#include "input/instance_text.h"
#include "input/line_reader.h"
#include "input/lower_bound.h"

using namespace jobshop;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(fuzzText(data, size));
  ImportedInstance imported;
  try {
    imported = parseInstanceText(text, "in.txt");
  } catch (const InputError& error) {
    // "in.txt:LINE: ..." for a published format, "in.txt, línea LINE: ..." for a D_Entrada.txt.
    fuzzCheck(error.message.rfind("in.txt:", 0) == 0 || error.message.rfind("in.txt, ", 0) == 0,
              "a refusal names the file");
    fuzzCheck(isPrintableUtf8(error.message), "a refusal is printable UTF-8 on one line");
    return 0;
  }
  const Instance& instance = imported.instance;
  // Only a "D_Entrada.txt" brings its own target; a published format gets the lower bound.
  fuzzCheck(imported.ownTarget == (detectInstanceFormat(text) == InstanceFormat::kInputFile),
            "only a D_Entrada.txt keeps its own target");
  fuzzCheck(imported.ownTarget || instance.targetMakespan == classicLowerBound(instance),
            "the target is the bound");
  fuzzCheck(!imported.upperBound || *imported.upperBound >= 0, "an upper bound is not negative");
  try {
    const Instance reread =
        parseInstanceLines(splitLines(formatInstanceFile(instance)), "D_Entrada.txt");
    fuzzCheck(reread.jobs == instance.jobs && reread.machines == instance.machines &&
                  reread.targetMakespan == instance.targetMakespan &&
                  reread.times == instance.times && reread.routing == instance.routing,
              "an imported instance reads back unchanged");
  } catch (const InputError&) {
    fuzzCheck(false, "an imported instance is one the main run accepts");
  }
  return 0;
}
