// The main run's outputs checked against its inputs before anything is written, so that a result
// file or a record linked to "D_Entrada.txt" or "D_Algoritmo.txt" never receives an execution's
// records.
#pragma once

#include <optional>
#include <string>

namespace jobshop {

// Nothing when every file the main run writes in folder ("" or ending in '/') is apart from its
// two inputs; otherwise the refusal, worded for standard error.
std::optional<std::string> mainRunOutputClash(const std::string& folder);

}  // namespace jobshop
