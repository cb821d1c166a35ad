// How a stage reports that the run must stop: the failure carries the exact
// console message, and the driver turns it into exit status 1 in one place.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace linechain {

struct Failure {
  /// The console text, line ends included, exactly as it is printed.
  std::string message;
  /// True when standard output itself cannot be written, so the message goes
  /// to standard error instead.
  bool console_broken = false;
};

/// Empty when the stage completed.
using Status = std::optional<Failure>;

inline Status fail(std::string message) { return Failure{std::move(message)}; }

}  // namespace linechain
