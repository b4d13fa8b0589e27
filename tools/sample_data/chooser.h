// Chooser: reproducible random choices for the sample data, the same on every standard library.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <random>

#include "platform/variant.h"

namespace mv::samples {

/// Choices drawn from one seed. Draws only on the generator's raw output, whose sequence the
/// C++ standard fixes, never on the library-specific distributions.
class Chooser {
 public:
  explicit Chooser(std::uint32_t seed) : generator_(seed) {}

  /// A number from 0 to `bound` - 1.
  int Below(int bound) {
    return static_cast<int>(generator_() % static_cast<std::uint32_t>(bound));
  }
  /// True about once in `times`.
  bool OneIn(int times) { return Below(times) == 0; }
  template <typename T, std::size_t N>
  T Pick(const std::array<T, N>& values) {
    return values[static_cast<std::size_t>(Below(static_cast<int>(N)))];
  }
  /// A date and time in the years 2000 to 2002.
  DateTime Date() {
    return DateTime{2000 + Below(3), 1 + Below(12), 1 + Below(28), Below(24), Below(60), Below(60)};
  }

 private:
  std::mt19937 generator_;
};

}  // namespace mv::samples
