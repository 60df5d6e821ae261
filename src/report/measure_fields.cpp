// One run's measures as CSV fields.
#include "report/measure_fields.h"

#include "support/number_format.h"

namespace jobshop {

namespace {

std::string share(const std::optional<double>& value) {
  return value ? fixedNumber(*value, 6) : std::string();
}

}  // namespace

std::vector<std::string> measureColumns() {
  return {"held", "found",       "distinct",  "recall",   "precision",
          "f1",   "foundRecall", "retention", "dynamicF1"};
}

void addMeasureFields(const std::optional<NichingMeasures>& measures,
                      std::vector<std::string>& fields) {
  if (!measures) {
    fields.insert(fields.end(), measureColumns().size(), "");
    return;
  }
  const NichingMeasures& m = *measures;
  fields.insert(fields.end(),
                {std::to_string(m.held), std::to_string(m.found), std::to_string(m.distinct),
                 share(m.recall), share(m.precision), share(m.f1), share(m.foundRecall),
                 share(m.retention), share(m.dynamicF1)});
}

}  // namespace jobshop
