// Comparing a case's outputs with its committed expected files, byte for byte, and saying where a
// page that differs parts from the expected one: a page is too long to print whole.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_instances.h"

namespace jobshop {

// Where two texts part, as line number and both lines; "none" when they are equal.
inline std::string firstDifference(const std::string& actual, const std::string& expected) {
  std::size_t start = 0;
  for (int line = 1;; ++line) {
    const std::size_t actualEnd = actual.find('\n', start);
    const std::size_t expectedEnd = expected.find('\n', start);
    const std::string a = actual.substr(start, actualEnd - start);
    const std::string e = expected.substr(start, expectedEnd - start);
    if (a != e || actualEnd != expectedEnd)
      return "line " + std::to_string(line) + ": got\n" + a.substr(0, 300) + "\nexpected\n" +
             e.substr(0, 300);
    if (actualEnd == std::string::npos) return "none";
    start = actualEnd + 1;
  }
}

// Every named file of work (ending in '/') against the file of the same name in expected.
inline void expectSameFiles(const std::string& work, const std::filesystem::path& expected,
                            const std::vector<std::string>& names, const std::string& caseName) {
  for (const std::string& name : names) {
    SCOPED_TRACE(caseName + "/" + name);
    ASSERT_TRUE(fileExists(work + name));
    const std::string actual = readFile(work + name);
    const std::string wanted = readFile(expected / name);
    EXPECT_TRUE(actual == wanted) << firstDifference(actual, wanted);
  }
}

}  // namespace jobshop
