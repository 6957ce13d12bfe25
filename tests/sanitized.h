#pragma once

// How many times fewer positions the tests that sample many look at in the
// sanitizer build, which runs the search some thirty times slower and looks
// for faults of memory rather than of verdicts (the release build's tests
// look at them all).
namespace vorek::testing {

#ifdef VOREK_SANITIZED
inline constexpr int SANITIZED_SHARE = 4;
#else
inline constexpr int SANITIZED_SHARE = 1;
#endif

}  // namespace vorek::testing
