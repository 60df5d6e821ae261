// Interleaved drawing of bits from the linear congruential generator.
#include "variation/random_bits.h"

#include <cstdint>

namespace jobshop {

namespace {

// The map S -> multiplier * S + increment that `steps` steps of the generator apply, read off the
// generator itself so that no constant of it is repeated here.
struct StateMap {
  std::uint64_t multiplier;
  std::uint64_t increment;
};

StateMap stepsOf(int steps) {
  RandomSource probe;
  probe.state = 0;
  probe.skipDraws(2, steps);
  const std::uint64_t increment = probe.state;
  probe.state = 1;
  probe.skipDraws(2, steps);
  return {probe.state - increment, increment};
}

std::uint64_t apply(const StateMap& map, std::uint64_t state) {
  return map.multiplier * state + map.increment;
}

// Draw k of the run starts from the state after k steps; one draw per stream per round, each
// stream kLanes steps ahead of where it was, so the multiplications of a round do not wait on one
// another.
constexpr int kLanes = 4;

unsigned char bitFrom(std::uint64_t state) {
  RandomSource source;
  source.state = state;
  return static_cast<unsigned char>(source.randomBelow(2));
}

}  // namespace

void drawBits(RandomSource& random, int count, unsigned char* bits) {
  if (count <= 0) return;
  const StateMap one = stepsOf(1);
  const StateMap round = stepsOf(kLanes);
  std::uint64_t lane[kLanes];
  lane[0] = random.state;
  for (int i = 1; i < kLanes; ++i) lane[i] = apply(one, lane[i - 1]);
  int k = 0;
  for (; k + kLanes <= count; k += kLanes) {
    for (int i = 0; i < kLanes; ++i) {
      bits[k + i] = bitFrom(lane[i]);
      lane[i] = apply(round, lane[i]);
    }
  }
  for (int i = 0; k < count; ++i, ++k) bits[k] = bitFrom(lane[i]);
  random.skipDraws(2, count);
}

}  // namespace jobshop
