// Writing a campaign file that the step cannot go on without: the plan's folders, the manifest,
// the Slurm task list and script.
#pragma once

#include <string>

namespace jobshop {

// Replaces path by text in one step (never a cut file); throws InputError saying why when it
// cannot.
void writeFileOrThrow(const std::string& path, const std::string& text);

}  // namespace jobshop
