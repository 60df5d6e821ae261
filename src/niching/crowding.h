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

  template <class Random>
  bool select(RunState& state, Random& random) {
    return selectMates(state, random, selection);
  }
  template <class Random>
  bool replace(RunState& state, Random& random) {
    return replaceByCrowding(state, random, replacement);
  }
};

}  // namespace jobshop
