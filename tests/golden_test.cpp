// End-to-end golden cases: the built program in a temporary folder, with --seed or a frozen clock,
// must reproduce standard output, the exit status and all five result files byte for byte, and
// the run trace where a case gives it; other files beside them are not part of a case.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>

#include "test_instances.h"

namespace jobshop {

namespace fs = std::filesystem;

namespace {

const char* const kComparedFiles[] = {
    "stdout.txt",           "exit_status.txt",      "D_Sal_Mejores.txt",   "D_Sal_Optimos.txt",
    "D_Sal_NumOptimos.txt", "D_Sal_Distancias.txt", "D_Sal_Soluciones.txt"};

std::string trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

void runCase(const fs::path& folder) {
  const std::string work = makeTempFolder();
  fs::copy(folder / "D_Entrada.txt", work);
  fs::copy(folder / "D_Algoritmo.txt", work);
  if (fs::exists(folder / "prior"))
    for (const auto& entry : fs::directory_iterator(folder / "prior")) fs::copy(entry.path(), work);
  std::string launch = std::string(JOBSHOP_PROGRAM) + " ";
  if (fs::exists(folder / "clock"))
    launch = "ASAN_OPTIONS=verify_asan_link_order=0 faketime -f '" +
             trimmed(readFile(folder / "clock")) + "' " + JOBSHOP_PROGRAM + " --wall-clock";
  else
    launch += trimmed(readFile(folder / "args"));
  const std::string command =
      "cd '" + work + "' && " + launch + " > stdout.txt 2> /dev/null; echo $? > exit_status.txt";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  for (const char* name : kComparedFiles) {
    SCOPED_TRACE(folder.filename().string() + "/" + name);
    ASSERT_TRUE(fileExists(work + name));
    EXPECT_EQ(readFile(work + name), readFile(folder / "expected" / name));
  }
  // The trace is compared in the cases that give it; the others were made before it existed.
  if (fs::exists(folder / "expected" / "D_Sal_Traza.txt")) {
    SCOPED_TRACE(folder.filename().string() + "/D_Sal_Traza.txt");
    EXPECT_EQ(readFile(work + "D_Sal_Traza.txt"),
              readFile(folder / "expected" / "D_Sal_Traza.txt"));
  }
  // The execution record may lie beside them: it holds times and the build, which no reference
  // can fix in advance.
  fs::remove_all(work);
}

}  // namespace

TEST(GoldenRuns, EveryCaseReproducesItsFilesByteForByte) {
  const fs::path root = fs::path(JOBSHOP_SOURCE_DIR) / "tests" / "golden";
  ASSERT_EQ(std::system("command -v faketime > /dev/null"), 0)
      << "faketime is needed for the frozen-clock cases (apt-get install faketime)";
  int cases = 0;
  for (const auto& entry : fs::directory_iterator(root)) {
    if (!entry.is_directory()) continue;
    runCase(entry.path());
    ++cases;
  }
  EXPECT_GE(cases, 6);
}

}  // namespace jobshop
