#pragma once

namespace brillora::testing {

// Randomized tests run fewer trials under the sanitizers, which slow the
// geometry several times over; the optimized build runs them all.
constexpr int TrialCount(int optimized) {
#ifdef BRILLORA_SANITIZED
  return optimized / 5 > 0 ? optimized / 5 : 1;
#else
  return optimized;
#endif
}

}  // namespace brillora::testing
