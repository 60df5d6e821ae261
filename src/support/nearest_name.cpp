// Optimal-string-alignment distance, the common measure of typing slips: a doubled, dropped,
// wrong or swapped letter each count one.
#include "support/nearest_name.h"

#include <algorithm>
#include <cctype>

namespace jobshop {

namespace {

char folded(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::string_view withoutDashes(std::string_view name) {
  while (!name.empty() && name.front() == '-') name.remove_prefix(1);
  return name;
}

// The edits a name of this length may be away and still be the likely meaning: a short name is
// a different word after one slip ("-x" is no "-q").
std::size_t allowedEdits(std::size_t length) {
  if (length >= 9) return 3;
  if (length >= 6) return 2;
  return length >= 3 ? 1 : 0;
}

bool beginsWith(std::string_view name, std::string_view start) {
  return name.size() > start.size() &&
         std::equal(start.begin(), start.end(), name.begin(),
                    [](char a, char b) { return folded(a) == folded(b); });
}

// The only name that given begins, if it is long enough to mean something.
std::optional<std::string> onlyLonger(std::string_view given,
                                      const std::vector<std::string>& names) {
  std::optional<std::string> found;
  if (withoutDashes(given).size() < 3) return found;
  for (const std::string& name : names) {
    if (!beginsWith(name, given)) continue;
    if (found) return std::nullopt;
    found = name;
  }
  return found;
}

}  // namespace

std::size_t editDistance(std::string_view a, std::string_view b) {
  // Three rows of the table: two back for a swap, one back, and the one being filled.
  std::vector<std::size_t> twoBack(b.size() + 1);
  std::vector<std::size_t> previous(b.size() + 1);
  std::vector<std::size_t> current(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) previous[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const bool same = folded(a[i - 1]) == folded(b[j - 1]);
      current[j] =
          std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (same ? 0 : 1)});
      if (i > 1 && j > 1 && folded(a[i - 1]) == folded(b[j - 2]) &&
          folded(a[i - 2]) == folded(b[j - 1]))
        current[j] = std::min(current[j], twoBack[j - 2] + 1);
    }
    std::swap(twoBack, previous);
    std::swap(previous, current);
  }
  return previous[b.size()];
}

std::optional<std::string> nearestName(std::string_view given,
                                       const std::vector<std::string>& names) {
  if (std::find(names.begin(), names.end(), given) != names.end()) return std::nullopt;
  const std::string_view bare = withoutDashes(given);
  const std::string* nearest = nullptr;
  std::size_t nearestEdits = 0;
  for (const std::string& name : names) {
    const std::string_view bareName = withoutDashes(name);
    const std::size_t edits = editDistance(bare, bareName);
    if (edits > allowedEdits(bareName.size())) continue;
    if (nearest == nullptr || edits < nearestEdits) {
      nearest = &name;
      nearestEdits = edits;
    }
  }
  if (nearest != nullptr) return *nearest;
  return onlyLonger(given, names);
}

}  // namespace jobshop
