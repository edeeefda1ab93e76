#include "FixedClock.h"

#include <cstdlib>

namespace {
std::time_t g_now = glimster::capture_tests::kFixedNow;
}  // namespace

// Takes the place of the C library's time() for this program and for the
// plug-in it loads (the program exports it: ENABLE_EXPORTS).
extern "C" std::time_t time(std::time_t* now) {
  if (now != nullptr) *now = g_now;
  return g_now;
}

namespace glimster::capture_tests {

void FixClock(std::time_t now) {
  setenv("TZ", "UTC0", 1);
  tzset();
  g_now = now;
}

}  // namespace glimster::capture_tests
