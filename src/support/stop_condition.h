// When a long piece of work is to stop before its end: a stop signal (the flag the SIGINT/SIGTERM
// handler sets, or a signal another part took itself), a stop raised by another thread, a deadline,
// or a counted limit reached. The main run's generations, the exact searches and counts and the
// campaign runner all ask the same object, so that a stop means the same everywhere.
#pragma once

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <limits>
#include <optional>

namespace jobshop {

enum class StopCause { kNone, kSignal, kRaised, kDeadline };

struct StopCondition {
  using Deadline = std::optional<std::chrono::steady_clock::time_point>;
  static constexpr std::int64_t kUnlimited = std::numeric_limits<std::int64_t>::max();

  // Nonzero once a stop signal came (the handler stores its number); never read when null.
  const volatile std::sig_atomic_t* signal = nullptr;
  Deadline deadline;
  // The counted limits of the exact search: a walk ends once it has found foundLimit schedules,
  // a count once subtreeLimit subtrees are done by it or once it has walked nodeLimit nodes (at
  // its next look, so a little beyond: a count of one thread stops at the same place each time).
  std::int64_t foundLimit = kUnlimited;
  std::int64_t subtreeLimit = kUnlimited;
  std::int64_t nodeLimit = kUnlimited;

  StopCondition() = default;
  StopCondition(const volatile std::sig_atomic_t* stopSignal, Deadline until)
      : signal(stopSignal), deadline(until) {}
  // A copy takes the stop raised so far along, so that a condition handed on by value keeps it.
  StopCondition(const StopCondition& other)
      : signal(other.signal),
        deadline(other.deadline),
        foundLimit(other.foundLimit),
        subtreeLimit(other.subtreeLimit),
        nodeLimit(other.nodeLimit),
        raised(other.raised.load(std::memory_order_relaxed)) {}
  StopCondition& operator=(const StopCondition& other) {
    if (this == &other) return *this;
    signal = other.signal;
    deadline = other.deadline;
    foundLimit = other.foundLimit;
    subtreeLimit = other.subtreeLimit;
    nodeLimit = other.nodeLimit;
    raised.store(other.raised.load(std::memory_order_relaxed), std::memory_order_relaxed);
    return *this;
  }

  // A stop signal came or a stop was raised. Cheap enough for the innermost loops of a generation:
  // two loads, no clock; the deadline is asked apart, where a look at the clock is affordable.
  bool stopRequested() const {
    return raised.load(std::memory_order_relaxed) != 0 || (signal != nullptr && *signal != 0);
  }
  bool pastDeadline() const { return deadline && std::chrono::steady_clock::now() >= *deadline; }
  // Either of the above: the look of a walk every few thousand nodes.
  bool reached() const { return stopRequested() || pastDeadline(); }

  // Raised by whichever thread decides the work is over (a coordinating thread, a limit met); every
  // thread sharing the condition sees it at its next look. `stopSignal` is a signal number when the
  // raiser took a stop signal itself (sigtimedwait), 0 otherwise. The first raise is kept.
  void raise(int stopSignal = 0) {
    int none = 0;
    raised.compare_exchange_strong(none, stopSignal != 0 ? stopSignal : kRaisedWithoutSignal);
  }

  // The signal that asked the stop, from the handler's flag or a raise: 0 when none did.
  int stopSignal() const {
    if (signal != nullptr && *signal != 0) return static_cast<int>(*signal);
    const int value = raised.load(std::memory_order_relaxed);
    return value > 0 ? value : 0;
  }

  // Why the work is to stop now, the signal first: the cause a report names.
  StopCause cause() const {
    if (stopSignal() != 0) return StopCause::kSignal;
    if (raised.load(std::memory_order_relaxed) != 0) return StopCause::kRaised;
    if (pastDeadline()) return StopCause::kDeadline;
    return StopCause::kNone;
  }

 private:
  static constexpr int kRaisedWithoutSignal = -1;
  // 0, a signal number, or kRaisedWithoutSignal; shared by the threads of one count.
  std::atomic<int> raised{0};
};

}  // namespace jobshop
