// The state one execution shares across its runs: the read-only instance and parameters, the three
// Populations, the run's evaluation count, the random source and the clock it is reseeded from,
// and where the steps look for a request to stop.
#pragma once

#include <cstdint>
#include <utility>

#include "input/instance.h"
#include "input/parameters.h"
#include "model/clock.h"
#include "model/population.h"
#include "model/random_source.h"
#include "model/sequence_table.h"
#include "support/stop_condition.h"

namespace jobshop {

struct RunState {
  const Instance& instance;
  const Parameters& parameters;
  Population population;
  Population matingPool;
  Population offspring;
  // The machine sequences of every individual of `population`, row k for individual k; kept up
  // to date by whatever reorders or replaces the population.
  SequenceTable populationSequences;
  // The same for `matingPool` and `offspring`, written by whatever writes their genes.
  SequenceTable matingPoolSequences;
  SequenceTable offspringSequences;
  // Held in 64 bits so that budgets up to 2^31 - 1 cannot overflow it.
  std::int64_t evaluationCount = 0;
  RandomSource random;
  Clock clock;
  // When the run is to stop: looked at between generations and inside their steps, which give up
  // the generation in hand.
  StopCondition stop;

  RunState(const Instance& inst, const Parameters& params, Clock source)
      : instance(inst),
        parameters(params),
        population(params.populationSize, inst.geneCount()),
        matingPool(params.populationSize, inst.geneCount()),
        offspring(params.populationSize, inst.geneCount()),
        clock(std::move(source)) {
    populationSequences.resize(params.populationSize, inst.geneCount(), inst.jobs);
    matingPoolSequences.resize(params.populationSize, inst.geneCount(), inst.jobs);
    offspringSequences.resize(params.populationSize, inst.geneCount(), inst.jobs);
  }
};

}  // namespace jobshop
