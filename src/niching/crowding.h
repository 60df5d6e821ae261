// Multi-niche crowding as one niching scheme: its selection of mates and its replacement, with the
// scratch each keeps between generations.
#pragma once

#include "model/run_state.h"
#include "niching/crowding_replacement.h"
#include "niching/crowding_selection.h"

namespace jobshop {

struct CrowdingScheme {
  SelectionScratch selection;
  ReplacementScratch replacement;

  template <class Random, class Stop>
  bool select(RunState& state, Random& random, Stop& stop) {
    return selectMates(state, random, stop, selection);
  }
  template <class Random, class Stop>
  bool replace(RunState& state, Random& random, Stop& stop) {
    return replaceByCrowding(state, random, stop, replacement);
  }
};

}  // namespace jobshop
