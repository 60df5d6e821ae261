// What collecting reads, listed so that its outputs can be checked against every file of it.
#pragma once

#include <string>
#include <vector>

namespace jobshop {

// Every file directly inside folder (ending in '/'), for checking against all that is read there.
std::vector<std::string> filesIn(const std::string& folder);

}  // namespace jobshop
