// A backbone with no schedule behind it says nothing about any cell, so nothing is shaded then.
#include "report/backbone_markup.h"

#include <cstdio>

#include "report/markup.h"
#include "support/number_format.h"

namespace jobshop {

namespace {

const OptimaBackbone* backboneOf(const std::optional<OptimaCoverage>& coverage) {
  if (!coverage || !coverage->enumeration.backbone || coverage->enumeration.count == 0) {
    return nullptr;
  }
  return &*coverage->enumeration.backbone;
}

// "P of T machine pairs, S %".
std::string sizeText(const OptimaBackbone& backbone) {
  char share[32];
  std::snprintf(share, sizeof share, "%.1f", 100 * backbone.share());
  return groupedNumber(backbone.pairs()) + " of " + groupedNumber(backbone.of) +
         " machine pairs, " + share + " %";
}

}  // namespace

std::vector<bool> backboneShading(const std::optional<OptimaCoverage>& coverage,
                                  const std::vector<int>& sequences, int makespan, int jobs) {
  const OptimaBackbone* backbone = backboneOf(coverage);
  if (!backbone || makespan > coverage->enumeration.bound) return {};
  return backboneCells(sequences, jobs, *backbone);
}

std::string backboneLegend(const std::optional<OptimaCoverage>& coverage,
                           const ScheduleNaming& naming) {
  const OptimaBackbone* backbone = backboneOf(coverage);
  if (!backbone) return {};
  const int bound = coverage->enumeration.bound;
  const std::string which = bound == coverage->target
                                ? "every " + naming.phrase(1)
                                : "every schedule of makespan &lt;= " + std::to_string(bound);
  return "<p class=\"note backbone\">Shaded cells: the same in " + which +
         " (the job has the same jobs before it on its machine in all of them; the backbone: " +
         sizeText(*backbone) + ").</p>";
}

std::string backboneSentence(const EnumeratedOptima& enumeration) {
  if (!enumeration.backbone || enumeration.count == 0) return {};
  const OptimaBackbone& backbone = *enumeration.backbone;
  char share[32];
  std::snprintf(share, sizeof share, "%.1f", 100 * backbone.share());
  return " <span class=\"backbone\">All of them put " + groupedNumber(backbone.pairs()) +
         " of the " + groupedNumber(backbone.of) +
         " pairs of jobs on a machine in the same order (the backbone, " + share + " %).</span>";
}

}  // namespace jobshop
