// The shared whole-file writer already puts a temporary file in place in one step.
#include "campaigns/whole_file.h"

#include "support/text_file_output.h"

namespace jobshop {

std::string replaceWholeFile(const std::string& path, const std::string& text) {
  return writeTextFile(path, text, WriteMode::kReplace);
}

}  // namespace jobshop
