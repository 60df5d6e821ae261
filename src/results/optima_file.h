// The summary file "optima.json" that the optima command leaves beside the results, and the list
// of schedules it names: what the report needs to show "found k of K optimal schedules".
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "results/optima_backbone.h"
#include "support/failure.h"

namespace jobshop {

inline constexpr const char* kEnumeratedOptimaFileName = "optima.json";

// An estimate of how many schedules are within the bound, from random probes of the search tree:
// never a count, shown and stored apart from one.
struct OptimaEstimate {
  double value = 0;
  double standardError = 0;
  std::int64_t probes = 0;
  std::uint64_t seed = 0;
};

// An estimate of a stopped count's total from the subtrees it counted, a random sample of all:
// also never a count.
struct SubtreeEstimate {
  double value = 0;
  double standardError = 0;
  int counted = 0;   // subtrees in the sample
  int subtrees = 0;  // subtrees in all
};

// An estimate of the total with a 95 % interval, from a uniform sample of the subtrees a pilot
// walk left unsettled, each counted exactly: never a count either. high is infinite when the
// sample is too small to bound the total from above.
struct SampleEstimate {
  double value = 0;
  double standardError = 0;
  double low = 0;
  double high = 0;
  double level = 0.95;
  int sampled = 0;    // unsettled subtrees counted exactly, or estimated
  int descended = 0;  // of the sampled, estimated by going down a random branch of each
  int unsettled = 0;  // subtrees the pilot left
  int settled = 0;    // subtrees the pilot counted to the end
  int subtrees = 0;   // the cut
  std::uint64_t seed = 0;
};

struct EnumeratedOptima {
  int jobs = 0;
  int machines = 0;
  // SHA-256 of the "D_Entrada.txt" counted from; "" in files written before it was recorded.
  std::string instanceSha256;
  int bound = 0;            // schedules of makespan <= bound were counted
  std::int64_t count = 0;   // how many; a lower bound unless complete; capped at the int64 maximum
  std::string countDigits;  // the count in full when it exceeds the int64 maximum, else ""
  bool complete = false;
  bool optimal = false;  // bound was proven to be the instance's optimum
  std::string listFile;  // the list's path relative to the folder ("" when none was written)
  std::optional<OptimaEstimate> estimate;
  std::optional<SubtreeEstimate> subtreeEstimate;
  std::optional<SampleEstimate> sampleEstimate;
  // The backbone of the schedules within the bound, when asked for and the count is complete.
  std::optional<OptimaBackbone> backbone;
  // Read back from the list: each schedule's machine sequences, machine 1's jobs (from 1) in
  // processing order, then machine 2's, ...
  std::set<std::vector<int>> schedules;
  // Each listed schedule's line in the list (from 1), so that a reader can be pointed at it.
  std::map<std::vector<int>, std::int64_t> listLines;
};

// The count in full: its digits, however large.
std::string countText(const EnumeratedOptima& optima);

// The text of "optima.json" for optima (its schedules are not part of it), with a final line end.
std::string enumeratedOptimaJson(const EnumeratedOptima& optima);

// Appends one line of the list: the schedule's machine sequences (jobs from 1, machine by machine)
// and its makespan, each followed by a space.
void appendOptimaListLine(const std::vector<int>& sequences, int makespan, std::string& text);

// What a folder holds of the optima command's counting: nullopt when it has no "optima.json" (a
// folder the command never visited), the counting when it was read, or a one-line failure when it
// could not be.
using OptimaInFolder = OrFailure<std::optional<EnumeratedOptima>>;

// Reads the text of an "optima.json", its list unread (schedules empty); a refusal starts with
// path and says which field is wrong and why.
OrFailure<EnumeratedOptima> parseOptimaSummary(const std::string& text, const std::string& path);

// Reads folder's "optima.json" alone, leaving its list unread (schedules empty); the outcomes as
// loadEnumeratedOptima.
OptimaInFolder loadOptimaSummary(const std::string& folder);

// Reads the list at path into optima's schedules and listLines, checked against its jobs, machines
// and count as loadEnumeratedOptima checks them.
MaybeFailure loadOptimaList(const std::string& path, EnumeratedOptima& optima);

// Reads folder's "optima.json" and, when it names a list, that list. Fails when the file or the
// list is unreadable or malformed (a list line whose length is not J*M + 1 numbers, a job number
// out of range, more lines than the recorded count).
OptimaInFolder loadEnumeratedOptima(const std::string& folder);

}  // namespace jobshop
