// A failed write of a required campaign file ends the step as a refused input would.
#include "campaigns/required_write.h"

#include "input/input_error.h"
#include "support/text_file_output.h"

namespace jobshop {

void writeFileOrThrow(const std::string& path, const std::string& text) {
  const MaybeFailure failure = writeTextFile(path, text, WriteMode::kReplace);
  if (failure) throw InputError{"cannot write " + path + ": " + failure->reason};
}

}  // namespace jobshop
