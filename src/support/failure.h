// What a function returns when it can fail in a way its command recovers from: the command tells
// the reason in its own words and goes on, or ends with a status. Refused inputs are thrown instead
// (input/input_error.h), since they unwind from deep in a reader to the command that reports them.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace jobshop {

// Why something was not done, in words a message can quote as they are ("File exists", "no
// checkpoint to resume from: cannot read ...").
struct Failure {
  std::string reason;
};

// A function with nothing to give back returns std::optional<Failure>: empty once done.
using MaybeFailure = std::optional<Failure>;

// A value, or why there is none. Reading the value of a failure (or the failure of a value) is a
// fault of the caller, as with std::optional.
template <typename T>
class OrFailure {
 public:
  // Implicit, so that a function returns its value or Failure{why} as they are.
  OrFailure(T value) : held_(std::in_place_index<0>, std::move(value)) {}
  OrFailure(Failure failure) : held_(std::in_place_index<1>, std::move(failure)) {}

  bool ok() const { return held_.index() == 0; }
  explicit operator bool() const { return ok(); }

  const T& value() const& { return std::get<0>(held_); }
  T& value() & { return std::get<0>(held_); }
  T&& value() && { return std::get<0>(std::move(held_)); }
  const T& operator*() const& { return value(); }
  T& operator*() & { return value(); }
  const T* operator->() const { return &value(); }
  T* operator->() { return &value(); }

  const Failure& failure() const { return std::get<1>(held_); }
  const std::string& reason() const { return failure().reason; }

 private:
  std::variant<T, Failure> held_;
};

}  // namespace jobshop
