// How the optimal schedules the runs found stand against the exact enumeration that the optima
// command left in "optima.json": found k of K, which ones it lists, and what it should list but
// does not.
#include "analysis/optima_coverage.h"

#include <set>

#include "analysis/optimum_union.h"
#include "results/result_files.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

// Beyond this many missing schedules the enumeration is plainly of another instance or target;
// one line says how many more, rather than a page of them.
constexpr std::size_t kMissingLinesShown = 20;

std::string runWords(const std::vector<int>& runs) {
  std::string text = runs.size() == 1 ? "run " : "runs ";
  for (std::size_t k = 0; k < runs.size(); ++k) {
    if (k > 0) text += ", ";
    text += std::to_string(runs[k]);
  }
  return text;
}

std::string listName(const EnumeratedOptima& enumeration) {
  return enumeration.listFile.empty() ? std::string("the list") : enumeration.listFile;
}

std::string missingLine(const SharedOptimum& optimum, const EnumeratedOptima& enumeration) {
  std::string line = kSolutionFileName;
  line += " line ";
  line += std::to_string(optimum.firstLine);
  line += " (";
  line += runWords(optimum.runs);
  line += "): a schedule of makespan ";
  line += std::to_string(optimum.makespan);
  line += " that ";
  line += listName(enumeration);
  line += " does not hold, although ";
  line += kEnumeratedOptimaFileName;
  line += " says it lists every schedule of makespan <= ";
  line += std::to_string(enumeration.bound);
  return line;
}

}  // namespace

std::optional<OptimaCoverage> coverOptima(EnumeratedOptima enumeration, const Instance& instance,
                                          const std::vector<RunRecord>& runs,
                                          const OptimumUnion& optima,
                                          std::vector<std::string>& problems) {
  if (enumeration.jobs != instance.jobs || enumeration.machines != instance.machines) {
    std::string problem = kEnumeratedOptimaFileName;
    problem += " counts the schedules of an instance of ";
    problem += std::to_string(enumeration.jobs) + " jobs and ";
    problem += std::to_string(enumeration.machines) + " machines; D_Entrada.txt has ";
    problem += std::to_string(instance.jobs) + " and " + std::to_string(instance.machines);
    problems.push_back(std::move(problem));
    return std::nullopt;
  }
  OptimaCoverage coverage;
  coverage.enumeration = std::move(enumeration);
  coverage.target = instance.targetMakespan;
  coverage.listed = !coverage.enumeration.listFile.empty();
  coverage.foundByRun.assign(runs.size(), 0);
  if (!coverage.listed) return coverage;

  const std::set<std::vector<int>>& listed = coverage.enumeration.schedules;
  for (std::size_t r = 0; r < runs.size(); ++r) {
    // A run that records one schedule twice (files that disagree) still found it once.
    std::set<std::vector<int>> distinct;
    for (const RecordedSolution& solution : runs[r].solutions) {
      if (listed.contains(solution.sequences)) distinct.insert(solution.sequences);
    }
    coverage.foundByRun[r] = distinct.size();
  }
  std::size_t missing = 0;
  for (const SharedOptimum& optimum : optima.schedules) {
    const EnumerationStatus status =
        enumerationStatus(coverage, optimum.sequences, optimum.makespan);
    if (status == EnumerationStatus::kListed) ++coverage.foundOverall;
    if (status != EnumerationStatus::kMissing) continue;
    if (++missing <= kMissingLinesShown)
      problems.push_back(missingLine(optimum, coverage.enumeration));
  }
  if (missing > kMissingLinesShown) {
    problems.push_back(std::to_string(missing - kMissingLinesShown) +
                       " more recorded schedules that " + listName(coverage.enumeration) +
                       " does not hold");
  }
  return coverage;
}

EnumerationStatus enumerationStatus(const OptimaCoverage& coverage,
                                    const std::vector<int>& sequences, int makespan) {
  if (!coverage.listed) return EnumerationStatus::kUnmatched;
  const EnumeratedOptima& enumeration = coverage.enumeration;
  if (enumeration.schedules.contains(sequences)) return EnumerationStatus::kListed;
  if (makespan > enumeration.bound) return EnumerationStatus::kAboveBound;
  return enumeration.complete ? EnumerationStatus::kMissing : EnumerationStatus::kNotInPartialList;
}

std::string enumeratedCountText(const EnumeratedOptima& enumeration) {
  std::string text = enumeration.complete ? "" : "at least ";
  return text + groupedDigits(countText(enumeration));
}

std::string enumeratedScheduleWords(const OptimaCoverage& coverage) {
  const EnumeratedOptima& enumeration = coverage.enumeration;
  const std::string bound = std::to_string(enumeration.bound);
  const std::string target = std::to_string(coverage.target);
  // Optimal only where the enumeration proved its bound to be the optimum.
  std::string words = enumeration.optimal
                          ? "optimal schedules (makespan \u2264 " + bound + ", the proven optimum"
                          : "schedules of makespan \u2264 " + bound + " (";
  const std::string separator = enumeration.optimal ? ", " : "";
  if (enumeration.bound > coverage.target) {
    words += separator + "above the target " + target;
  } else if (enumeration.bound < coverage.target) {
    words += separator + "below the target " + target;
  } else if (!enumeration.optimal) {
    words += "the target, not proven to be the optimum";
  }
  return words + ")";
}

bool targetProvenOptimal(const std::optional<OptimaCoverage>& coverage) {
  return coverage && coverage->enumeration.optimal &&
         coverage->enumeration.bound == coverage->target;
}

}  // namespace jobshop
