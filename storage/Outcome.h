#pragma once
// What a storage operation returns: its value, or the reason in one line why
// there is none. The reason is written for the player, so the window shows
// it as it is. Standard library only.

#include <string>
#include <utility>

template <typename T>
struct Outcome {
  T value{};
  std::string error;

  bool ok() const { return error.empty(); }
  explicit operator bool() const { return ok(); }
  static Outcome success(T value) { return {std::move(value), {}}; }
  static Outcome failure(std::string reason) { return {T{}, std::move(reason)}; }
};

// An operation that has no value to give back: success, or why it failed.
struct Done {};
using Status = Outcome<Done>;
