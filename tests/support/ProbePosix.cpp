// The probe for Glimster.so and for the Mac code through macos_runner: the
// test program defines time() and the file calls (FileCalls.cpp) and exports
// them, so the plug-in's calls bind to them. (Its locales: TimeLocalePosix.cpp.)
#include <errno.h>

#include <clocale>
#include <cstdlib>
#include <map>

#include "tests/support/FileCalls.h"
#include "tests/support/Probe.h"

namespace {
std::time_t g_now = glimster::probe::kFixedNow;
}  // namespace

// Takes the place of the C library's time() for this program and for the
// plug-in it loads (the program exports it: ENABLE_EXPORTS).
extern "C" std::time_t time(std::time_t* now) {
  if (now != nullptr) *now = g_now;
  return g_now;
}

namespace glimster::probe {
namespace {

const std::map<FileCall, const char*> kCallNames = {{FileCall::kWrite, "write"},
                                                    {FileCall::kFlush, "fsync"},
                                                    {FileCall::kClose, "close"},
                                                    {FileCall::kDelete, "unlink"}};
const std::map<FileError, int> kErrors = {{FileError::kDiskFull, ENOSPC},
                                          {FileError::kIo, EIO},
                                          {FileError::kBusy, EBUSY},
                                          {FileError::kUnsupported, ENOTSUP},
                                          {FileError::kInvalid, EINVAL}};

}  // namespace

const Platform kPlatform = Platform::kPosix;

void Attach() {
  FixClock(kFixedNow);
  std::setlocale(LC_TIME, "C");
  ClearFileFailures();
}

void FixClock(std::time_t now) {
  setenv("TZ", "UTC0", 1);
  tzset();
  g_now = now;
}

void FailFileCalls(const std::filesystem::path& folder, FileCall call, FileError error, int after) {
  capture_tests::StartRecordingFileCalls(folder);
  capture_tests::FailFileCalls(kCallNames.at(call), kErrors.at(error), after);
}

void ClearFileFailures() { capture_tests::StopRecordingFileCalls(); }

}  // namespace glimster::probe
