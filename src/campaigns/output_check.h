// Refusing an output that would overwrite one of the command's own inputs: the same file by
// device and inode, so that another spelling of the path or a hard link is caught too.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace jobshop {

// The first of inputs that output already is, or nothing when none is (an output that does not
// exist yet is no input). Inputs that do not exist are passed over.
std::optional<std::string> inputOverwrittenBy(const std::string& output,
                                              const std::vector<std::string>& inputs);

// The same file for two paths: by device and inode when both exist, else by their normalised
// absolute paths.
bool sameFile(const std::string& first, const std::string& second);

// Every file directly inside folder (ending in '/'), for checking against all that is read there.
std::vector<std::string> filesIn(const std::string& folder);

}  // namespace jobshop
