// Waiting for what a test cannot be told of directly (a file appearing, a process ending, a
// record written): looked at every few milliseconds up to a bound, so that an event that never
// comes fails the test instead of hanging it.
#pragma once

#include <chrono>
#include <thread>

namespace jobshop {

// Whether happened() came to hold within bound.
template <class Event>
bool waitUntil(const Event& happened, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!happened()) {
    if (std::chrono::steady_clock::now() >= deadline) return happened();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace jobshop
