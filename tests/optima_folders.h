// Folders for the optima command's tests: an instance of the repository or a text as the
// folder's D_Entrada.txt, and a look for one whole line of its output.
#pragma once

#include <string>

#include "test_instances.h"

namespace jobshop {

// A new folder whose D_Entrada.txt is text.
inline std::string folderWithText(const std::string& text) {
  const std::string folder = makeTempFolder();
  writeFile(folder + "D_Entrada.txt", text);
  return folder;
}

// A new folder whose D_Entrada.txt is the repository's file at instance ("/examples/...").
inline std::string folderWith(const std::string& instance) {
  return folderWithText(readFile(std::string(JOBSHOP_SOURCE_DIR) + instance));
}

// Whether text holds line as a whole line.
inline bool hasLine(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

}  // namespace jobshop
