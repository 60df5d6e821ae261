// The one reader of files: a regular file within its bound is read whole and as it is; anything
// else is refused after a look, with what it is, and a file past the bound with its size.
#include "support/bounded_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "input/instance_reader.h"
#include "input/parameter_reader.h"
#include "refusal_expect.h"
#include "test_instances.h"

namespace jobshop {

namespace {

namespace fs = std::filesystem;

void makeSparse(const std::string& path, std::int64_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
  ::close(fd);
}

}  // namespace

TEST(BoundedFile, ReadsARegularFileWithinItsBoundAsItIs) {
  const std::string folder = makeTempFolder();
  const std::string bytes("a\0b\r\n", 5);
  writeFile(folder + "five", bytes);
  const BoundedRead read = readBoundedFile(folder + "five", 5);
  EXPECT_EQ(read.failure, BoundedReadFailure::kNone);
  EXPECT_EQ(read.text, bytes);
  EXPECT_EQ(readBoundedFile(folder + "five", 4).failure, BoundedReadFailure::kTooLarge);
  fs::remove_all(folder);
}

TEST(BoundedFile, RefusesWhatIsNoRegularFileWithoutReadingIt) {
  const std::string folder = makeTempFolder();
  ASSERT_EQ(::mkfifo((folder + "pipe").c_str(), 0644), 0);
  fs::create_symlink("/dev/zero", folder + "zero");
  fs::create_symlink("/dev/urandom", folder + "random");
  const std::pair<std::string, FileKind> cases[] = {{folder + "pipe", FileKind::kNamedPipe},
                                                    {folder + "zero", FileKind::kCharacterDevice},
                                                    {folder + "random", FileKind::kCharacterDevice},
                                                    {folder, FileKind::kFolder}};
  for (const auto& [path, kind] : cases) {
    SCOPED_TRACE(path);
    // A pipe with no writer would block a plain open; this one returns at once.
    const BoundedRead read = readBoundedFile(path, kMaxInputFileBytes);
    EXPECT_EQ(read.failure, BoundedReadFailure::kNotRegular);
    EXPECT_EQ(read.kind, kind);
    EXPECT_FALSE(read.text);
  }
  EXPECT_EQ(readBoundedFile(folder + "pipe", kMaxInputFileBytes).problem,
            "a named pipe, not a regular file");
  const BoundedRead missing = readBoundedFile(folder + "missing", kMaxInputFileBytes);
  EXPECT_EQ(missing.failure, BoundedReadFailure::kUnreadable);
  EXPECT_EQ(missing.problem, "No such file or directory");
  fs::remove_all(folder);
}

TEST(BoundedFile, RefusesAFilePastItsBoundBeforeReadingIt) {
  const std::string folder = makeTempFolder();
  makeSparse(folder + "large", kMaxResultFileBytes + 1);
  const BoundedRead read = readBoundedFile(folder + "large", kMaxResultFileBytes);
  EXPECT_EQ(read.failure, BoundedReadFailure::kTooLarge);
  EXPECT_EQ(read.size, kMaxResultFileBytes + 1);
  EXPECT_EQ(read.limit, kMaxResultFileBytes);
  // 2^30 + 1 = 1073741825, 2^30 = 1073741824, by hand.
  EXPECT_EQ(read.problem,
            "a file of 1073741825 bytes, more than the 1073741824 (1 GiB) a file may have here");
  fs::remove_all(folder);
}

TEST(BoundedFile, NamesLimitsInTheirUnit) {
  EXPECT_EQ(limitText(kMaxInputFileBytes), "16 MiB");
  EXPECT_EQ(limitText(kMaxResultFileBytes), "1 GiB");
  EXPECT_EQ(limitText(kMaxRecordFileBytes), "64 MiB");
  EXPECT_EQ(limitText(kMaxMarkerFileBytes), "64 KiB");
  EXPECT_EQ(limitText(1536), "1536 bytes");  // 1.5 KiB is no whole unit
}

// The main run's two files are refused in Spanish, naming the file as it was asked for.
TEST(BoundedFile, TheInputFilesAreRefusedInSpanish) {
  const std::string folder = makeTempFolder();
  ASSERT_EQ(::mkfifo((folder + "D_Entrada.txt").c_str(), 0644), 0);
  fs::create_directory(folder + "D_Algoritmo.txt");
  EXPECT_REFUSAL(readInstance(folder + "D_Entrada.txt"),
                 folder +
                     "D_Entrada.txt: no es un archivo normal sino una tubería con nombre; no "
                     "se lee");
  EXPECT_REFUSAL(readParameters(folder + "D_Algoritmo.txt"),
                 folder + "D_Algoritmo.txt: no es un archivo normal sino una carpeta; no se lee");
  fs::remove(folder + "D_Entrada.txt");
  makeSparse(folder + "D_Entrada.txt", 20971520);
  // 20 MiB = 20971520 bytes, 16 MiB = 16777216, by hand.
  EXPECT_REFUSAL(readInstance(folder + "D_Entrada.txt"),
                 folder +
                     "D_Entrada.txt: 20971520 bytes, más de los 16777216 (16 MiB) que se "
                     "leen de este archivo");
  // A missing file keeps the main run's fixed sentence.
  EXPECT_REFUSAL(readParameters(folder + "missing.txt"),
                 "No se ha podido abrir el archivo del ejemplo");
  fs::remove_all(folder);
}

}  // namespace jobshop
