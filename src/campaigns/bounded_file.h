// Reading the files a campaign names (the campaign file and its instances) with a bound: only
// regular files, never more than a fixed size, and never an open that could block.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace jobshop {

// The largest campaign or instance file read: 16 MiB, well above the largest published instance
// (a few hundred KiB) and a campaign file of any sensible grid.
inline constexpr std::int64_t kMaxCampaignInputBytes = std::int64_t{16} * 1024 * 1024;

enum class BoundedReadFailure {
  kNone,
  kUnreadable,  // missing, no permission, or a read error
  kNotRegular,  // a pipe, device, socket or folder
  kTooLarge,
};

struct BoundedRead {
  std::optional<std::string> text;
  BoundedReadFailure failure = BoundedReadFailure::kNone;
  std::string problem;  // for people: "a named pipe, not a regular file", "the system's reason"
};

// The whole content of the regular file at path when it holds at most kMaxCampaignInputBytes.
// The file is looked at before it is opened, and opened without waiting, so a named pipe never
// blocks and a device is never read.
BoundedRead readBoundedFile(const std::string& path);

}  // namespace jobshop
