// Replacing a whole output file so that it is either the old file or the new one, never a cut
// one: written under a hidden name of this process's own beside it, then renamed into place.
#pragma once

#include <string>

namespace jobshop {

// Returns "" once path holds text; otherwise the system's reason, path unchanged and no
// temporary file left.
std::string replaceWholeFile(const std::string& path, const std::string& text);

}  // namespace jobshop
