#include "model/run_demand.h"

#include <algorithm>

#include "model/sequence_table.h"

namespace jobshop {

std::int64_t populationBytes(const Instance& instance, const Parameters& parameters) {
  const std::int64_t individuals = parameters.populationSize;
  const std::int64_t genes = instance.geneCount();
  const std::int64_t row = genes * sequenceCellBytes(instance.jobs);
  const std::int64_t paddedRow = (row + kSequenceBlock - 1) / kSequenceBlock * kSequenceBlock;
  const std::int64_t individual =
      (genes + 1) * static_cast<std::int64_t>(sizeof(float)) + paddedRow;
  return 3 * individuals * individual;
}

double mateComparisons(const Instance& instance, const Parameters& parameters) {
  if (parameters.niching.method != NichingMethod::crowding) return 0;
  const double individuals = parameters.populationSize;
  if (individuals <= 0 || parameters.maxEvaluations <= parameters.populationSize) return 0;
  const double generations = std::max(1.0, (parameters.maxEvaluations - individuals) / individuals);
  return generations * (individuals / 2) * parameters.mateCandidates * instance.geneCount();
}

std::optional<RunDemandExcess> runDemandExcess(const Instance& instance,
                                               const Parameters& parameters,
                                               std::optional<std::int64_t> usableBytes) {
  const std::int64_t bytes = populationBytes(instance, parameters);
  if (usableBytes && bytes > *usableBytes)
    return RunDemandExcess{RunDemandExcess::Kind::kMemory, static_cast<double>(bytes),
                           static_cast<double>(*usableBytes)};
  const double comparisons = mateComparisons(instance, parameters);
  if (comparisons > kMaxMateComparisons)
    return RunDemandExcess{RunDemandExcess::Kind::kMateSelection, comparisons, kMaxMateComparisons};
  return std::nullopt;
}

}  // namespace jobshop
