// The enumeration's coverage as the page shows it: the sentence beside the union count, the mark
// of each distinct schedule, and a run's "found k of K".
#include "report/coverage_markup.h"

#include "report/backbone_markup.h"
#include "report/markup.h"

namespace jobshop {

namespace {

std::string strong(const char* className, const std::string& text) {
  std::string html = "<strong class=\"";
  html += className;
  html += "\">";
  html += text;
  html += "</strong>";
  return html;
}

std::string plural(std::size_t count, const char* one, const char* many) {
  return groupedNumber(static_cast<std::int64_t>(count)) + " " + (count == 1 ? one : many);
}

// Where the figures come from, so that a reader can open the files.
std::string sources(const EnumeratedOptima& enumeration) {
  std::string text = "(";
  text += kEnumeratedOptimaFileName;
  if (!enumeration.listFile.empty()) text += ", " + escapeMarkup(enumeration.listFile);
  return text + ")";
}

// "line 12 of optima.txt": where the list holds a schedule, so that it can be looked up there.
std::string listLine(const EnumeratedOptima& enumeration, const SharedOptimum& optimum) {
  const auto line = enumeration.listLines.find(optimum.sequences);
  if (line == enumeration.listLines.end()) return "in the enumeration";
  return "line " + groupedNumber(static_cast<std::int64_t>(line->second)) + " of " +
         escapeMarkup(enumeration.listFile);
}

// The estimates beside the count, in words that never make them one.
std::string estimateSentence(const EnumeratedOptima& enumeration) {
  std::string text;
  if (const std::optional<SubtreeEstimate>& e = enumeration.subtreeEstimate) {
    text += " <span class=\"subtree-estimate\">From the " + groupedNumber(e->counted) + " of " +
            groupedNumber(e->subtrees) +
            " parts of the search it finished, a random sample, the total is estimated, not "
            "counted, at about " +
            scientificText(e->value) + " (standard error " + scientificText(e->standardError) +
            ").</span>";
  }
  if (const std::optional<OptimaEstimate>& e = enumeration.estimate) {
    text += " <span class=\"tree-estimate\">Random probes of the search tree (" +
            groupedNumber(e->probes) + ", seed " + std::to_string(e->seed) +
            ") estimate the total, not count it, at about " + scientificText(e->value) +
            " (standard error " + scientificText(e->standardError) + ").</span>";
  }
  return text;
}

// What the list holds beyond the runs' schedules; with nothing left, that they found it all.
std::string unfoundText(std::int64_t unfound) {
  if (unfound <= 0) return "every listed schedule was found by some run.";
  if (unfound == 1) return "no run found the other one.";
  return "no run found the other " + groupedNumber(unfound) + ".";
}

}  // namespace

std::string coverageParagraph(const OptimaCoverage& coverage, const OptimumUnion& optima) {
  const EnumeratedOptima& enumeration = coverage.enumeration;
  const std::string words = escapeMarkup(enumeratedScheduleWords(coverage));
  const std::string count = strong("enumerated-count", groupedDigits(countText(enumeration)));
  const std::string lowerBound = enumeration.complete ? "" : "at least ";
  std::string html = "<p class=\"coverage\">";
  if (!enumeration.complete && enumeration.count == 0) {
    // "At least 0" would say nothing: the count was cut before it began to count.
    return html + "The exact enumeration " + sources(enumeration) +
           " was cut before it found any " + words + ", so it tells nothing of how many exist; " +
           "the runs found " +
           plural(optima.schedules.size(), "distinct schedule", "distinct schedules") + ".</p>";
  }
  if (!coverage.listed) {
    html += (enumeration.complete ? "" : "At least ") + count + " " + words +
            " exist, by an exact enumeration " + sources(enumeration) + "; the runs found " +
            plural(optima.schedules.size(), "distinct one", "distinct ones") +
            ". No list of them was written, so the runs' schedules are not matched against it.";
  } else {
    html += "Together the runs found " +
            strong("found-of-enumerated",
                   groupedNumber(static_cast<std::int64_t>(coverage.foundOverall))) +
            " of " + lowerBound + count + " " + words + " that an exact enumeration lists " +
            sources(enumeration) + "; ";
    const std::int64_t unfound =
        enumeration.count - static_cast<std::int64_t>(coverage.foundOverall);
    html += unfoundText(unfound);
    std::size_t missing = 0;
    for (const SharedOptimum& optimum : optima.schedules) {
      if (enumerationStatus(coverage, optimum.sequences, optimum.makespan) ==
          EnumerationStatus::kMissing) {
        ++missing;
      }
    }
    if (missing > 0) {
      html += " <span class=\"fault\">" +
              plural(missing, "recorded schedule is", "recorded schedules are") +
              " missing from the enumeration, which says it is complete: see the problems at "
              "the top.</span>";
    }
  }
  if (!enumeration.complete) {
    html += " The enumeration stopped before it was complete, so " +
            groupedDigits(countText(enumeration)) + " is a lower bound";
    html += coverage.listed ? " and its list holds only the schedules it reached." : ".";
  }
  return html + estimateSentence(enumeration) + backboneSentence(enumeration) + "</p>";
}

std::string enumerationCell(const OptimaCoverage& coverage, const SharedOptimum& optimum) {
  switch (enumerationStatus(coverage, optimum.sequences, optimum.makespan)) {
    case EnumerationStatus::kListed:
      return "<td class=\"enumeration listed\">" + listLine(coverage.enumeration, optimum) +
             "</td>";
    case EnumerationStatus::kAboveBound:
      return "<td class=\"enumeration\">above its bound " +
             std::to_string(coverage.enumeration.bound) + "</td>";
    case EnumerationStatus::kNotInPartialList:
      return "<td class=\"enumeration\">not in the partial list</td>";
    case EnumerationStatus::kMissing:
      return "<td class=\"enumeration missing\">missing from the enumeration</td>";
    case EnumerationStatus::kUnmatched:
      break;
  }
  return "<td class=\"enumeration\"></td>";
}

std::string runCoverageText(const OptimaCoverage& coverage, std::size_t runIndex) {
  if (!coverage.listed || runIndex >= coverage.foundByRun.size()) return {};
  return groupedNumber(static_cast<std::int64_t>(coverage.foundByRun[runIndex])) + " of " +
         enumeratedCountText(coverage.enumeration);
}

}  // namespace jobshop
