// The clock of the capture tests: this program defines time(), so that the
// plug-in's calls of it (and the tests' own) read a clock a test sets, and
// the local time is UTC. File names then never depend on when, or where,
// the tests run.
#pragma once

#include <ctime>

namespace glimster::capture_tests {

// From now on time() answers `now`, and local time is UTC.
void FixClock(std::time_t now);

// 2026-12-08 09:30:00 UTC, the time every capture test starts at.
inline constexpr std::time_t kFixedNow = 1796722200;
// The timestamp a capture at kFixedNow carries.
inline constexpr char kFixedStamp[] = "2026-12-08 09.30.00 AM";

}  // namespace glimster::capture_tests
