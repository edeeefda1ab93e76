// What the host-driven tests ask of the platform around the plug-in under
// test, in one interface for every binary: its clock, its time locale,
// failures of its file calls. (Its desktop is the host's own redirect:
// substitute_host/platform/DesktopRedirect.h.) ProbePosix.cpp serves Glimster.so and
// the Mac code through macos_runner (the test program exports the C library
// calls the plug-in makes); ProbeWindows.cpp serves Glimster.aex (its import
// table is patched). A case talks to the probe only; where a platform's
// answer differs, its table says what each platform gives.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

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

// The plug-in's random draws (getrandom, BCryptGenRandom) give these 8-byte
// values, one a call, the last one again and again once used up, until
// Attach(); an empty list gives the system's again.
void PlanRandomDraws(std::vector<std::uint64_t> draws);

// The file name (UTF-8) the plug-in last asked to move a file to (rename,
// MoveFileExW), whether or not the move was done; empty when it asked for
// none since the last call or Attach().
std::string TakeMoveTarget();

// Memory that runs out, for real where a test can make it: runs `body` where
// the plug-in's memory can be capped and gives what `body` gave (POSIX: in a
// child process, as a limit on the address space holds for the whole
// process, its scratch files in `scratch`; the answer names a child that did
// not exit; Windows: here). Inside, CapMemory(bytes) lets the plug-in take
// at most `bytes` more than it holds then (POSIX: of the address space,
// which the host's calls share; Windows: through the plug-in's own heap
// calls), until UncapMemory(); HeldMemory() counts what the plug-in holds
// (POSIX: the heap's blocks mapped on their own, every block of 64 KiB or
// more; Windows: what its heap calls took and did not give back), so that
// a block left behind shows.
std::string InMemoryScope(const std::filesystem::path& scratch,
                          const std::function<std::string()>& body);
void CapMemory(std::size_t bytes);
void UncapMemory();
std::int64_t HeldMemory();

// `text` (UTF-8) as a path, and a path's file name as UTF-8.
inline std::filesystem::path PathOf(const std::string& text) {
  return std::filesystem::u8path(text);
}
inline std::string Utf8NameOf(const std::filesystem::path& path) {
  return path.filename().u8string();
}

}  // namespace glimster::probe
