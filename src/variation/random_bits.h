// Drawing a run of randomBelow(2) bits, as the mask crossovers need one per gene position, without
// waiting on the generator's step for every bit.
#pragma once

#include "model/random_source.h"

namespace jobshop {

// bits[k] := randomBelow(2) for k = 0..count-1, in that order: leaves random and bits exactly as
// the plain loop would.
template <class Random>
void drawBits(Random& random, int count, unsigned char* bits) {
  for (int k = 0; k < count; ++k) bits[k] = static_cast<unsigned char>(random.randomBelow(2));
}

// The same for the program's generator, computed on several interleaved streams of its states.
void drawBits(RandomSource& random, int count, unsigned char* bits);

}  // namespace jobshop
