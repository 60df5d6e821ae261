// The one way the program opens a file to read it: only a regular file, never more than a bound
// chosen for its kind, and never an open that could wait. A named pipe, a device or a folder put
// where a file is expected is refused after a look, and a file larger than any the program writes
// or reads is refused before its content is held in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace jobshop {

inline constexpr std::int64_t kKiB = 1024;
inline constexpr std::int64_t kMiB = 1024 * kKiB;
inline constexpr std::int64_t kGiB = 1024 * kMiB;

// The files a user writes: D_Entrada.txt, D_Algoritmo.txt, an instance to import, a campaign file
// and its instances. The largest published instances take a few hundred KiB, and the program
// refuses more than kMaxGenes operations well before 16 MiB of text.
inline constexpr std::int64_t kMaxInputFileBytes = 16 * kMiB;

// The five D_Sal_*.txt, D_Sal_Traza.txt and the list of optimal schedules optima.json names. The
// largest is D_Sal_Soluciones.txt: 100 runs of a population of 1000 on a 50x20 instance hold
// 10^5 schedules of 1000 genes, about 3 bytes each, some 300 MB; la02's list of 126,453 schedules
// of 50 genes is about 20 MB. A folder past 1 GiB is no longer read whole.
inline constexpr std::int64_t kMaxResultFileBytes = kGiB;

// executions.jsonl, optima.json, the count's checkpoint, a campaign's manifest and task list and
// an execution's captured standard error: a line or a few per execution or subtree, a few KiB
// each, so 64 MiB holds tens of thousands of executions.
inline constexpr std::int64_t kMaxRecordFileBytes = 64 * kMiB;

// The markers of a campaign's executions (claimed, failed, the Slurm job id): one short line.
inline constexpr std::int64_t kMaxMarkerFileBytes = 64 * kKiB;

enum class BoundedReadFailure {
  kNone,
  kUnreadable,  // missing, no permission, or a read error
  kNotRegular,  // a pipe, device, socket or folder
  kTooLarge,
};

// What stands where a regular file was expected.
enum class FileKind {
  kRegular,
  kFolder,
  kNamedPipe,
  kCharacterDevice,
  kBlockDevice,
  kSocket,
  kOther
};

struct BoundedRead {
  std::optional<std::string> text;
  BoundedReadFailure failure = BoundedReadFailure::kNone;
  // For people, in English: the system's reason, "a named pipe, not a regular file" or
  // "a file of 20971520 bytes, more than the 16777216 (16 MiB) a file may have here".
  std::string problem;
  FileKind kind = FileKind::kRegular;  // what was found, when kNotRegular
  std::int64_t size = 0;               // the size found, when kTooLarge
  std::int64_t limit = 0;              // the bound it was read with
};

// The whole content of the regular file at path when it holds at most `limit` bytes. The file is
// looked at before it is opened, and opened without waiting, so a named pipe never blocks and a
// device is never read.
BoundedRead readBoundedFile(const std::string& path, std::int64_t limit);

// The limit as people read it: "16 MiB", "1 GiB", "64 KiB", or bytes when it is none of those.
std::string limitText(std::int64_t limit);

}  // namespace jobshop
