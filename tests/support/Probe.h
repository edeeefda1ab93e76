// What the host-driven tests ask of the platform around the plug-in under
// test, in one interface for every binary: its clock, its time locale,
// failures of its file calls. (Its desktop is the host's own redirect:
// substitute_host/platform/DesktopRedirect.h.) ProbePosix.cpp serves Glimster.so and
// the Mac code through macos_runner (the test program exports the C library
// calls the plug-in makes); ProbeWindows.cpp serves Glimster.aex (its import
// table is patched). A case talks to the probe only; where a platform's
// answer differs, its table says what each platform gives.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>

namespace glimster::probe {

enum class Platform { kPosix, kWindows };
// The platform of the binary under test.
extern const Platform kPlatform;

// Makes the probe watch the plug-in the host has just loaded; the clock is
// fixed at kFixedNow in UTC, the time locale "C", no file call fails.
void Attach();

// From now on the plug-in's clock reads `now`, and its local time is UTC.
void FixClock(std::time_t now);
// 2026-12-08 09:30:00 UTC, the time every capture test starts at, and the
// timestamp a capture then carries.
inline constexpr std::time_t kFixedNow = 1796722200;
inline constexpr char kFixedStamp[] = "2026-12-08 09.30.00 AM";

// A time locale for the plug-in: a system one (POSIX: a locale source of the
// system built with localedef; Windows: a locale name of the C runtime), or
// one made here from its AM and PM words, in localedef's notation ("<U00E9>"
// for a character), in `charmap` ("UTF-8" or "EUC-KR").
struct TimeLocale {
  const char* system;  // nullptr for a made one
  const char* charmap;
  const char* am;
  const char* pm;
};
// Makes `locale` the plug-in's time locale until the next call, or Attach();
// false when it cannot be had. Locales are built into `scratch`.
bool UseTimeLocale(const TimeLocale& locale, const std::filesystem::path& scratch);

// The plug-in's file calls on the desktop, and the errors a test makes them fail with.
enum class FileCall { kWrite, kFlush, kClose, kDelete };
enum class FileError {
  kDiskFull,     // ENOSPC, ERROR_DISK_FULL
  kIo,           // EIO, ERROR_IO_DEVICE
  kBusy,         // EBUSY, ERROR_SHARING_VIOLATION
  kUnsupported,  // ENOTSUP, ERROR_INVALID_FUNCTION: a file system that does not flush
  kInvalid,      // EINVAL, ERROR_INVALID_PARAMETER
};
// Writes to files in `folder` take at most 4 KiB a call, as short writes do.
// Every `call` on a file in `folder` after the first `after` of them fails
// with `error`, doing nothing (a failing close closes the file all the
// same), until ClearFileFailures().
void FailFileCalls(const std::filesystem::path& folder, FileCall call, FileError error,
                   int after = 0);
void ClearFileFailures();

// `text` (UTF-8) as a path, and a path's file name as UTF-8.
inline std::filesystem::path PathOf(const std::string& text) {
  return std::filesystem::u8path(text);
}
inline std::string Utf8NameOf(const std::filesystem::path& path) {
  return path.filename().u8string();
}

}  // namespace glimster::probe
