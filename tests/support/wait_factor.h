// How much longer than usual the tests' waits may take: COLFIX_TEST_WAIT_FACTOR,
// a whole number (default 1), for runs that are many times slower on purpose,
// such as under sanitizers or in an emulated machine.
#pragma once

#include <cstdlib>

namespace colfix::testing {

inline int WaitFactor() {
  static const int factor = [] {
    const char* text = std::getenv("COLFIX_TEST_WAIT_FACTOR");
    const int value = text != nullptr ? std::atoi(text) : 1;
    return value > 0 ? value : 1;
  }();
  return factor;
}

}  // namespace colfix::testing
