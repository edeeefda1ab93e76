// The probe for Glimster.so and for the Mac code through macos_runner: the
// test program defines time() and the file calls (FileCalls.cpp) and exports
// them, so the plug-in's calls bind to them. (Its locales: TimeLocalePosix.cpp.)
#include <errno.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <utility>

#include "tests/support/FileCalls.h"
#include "tests/support/FileContents.h"
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
  capture_tests::TakeRenameTarget();
  capture_tests::PlanRandomDraws({});
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

void PlanRandomDraws(std::vector<std::uint64_t> draws) {
  capture_tests::PlanRandomDraws(std::move(draws));
}

std::string TakeMoveTarget() {
  return Utf8NameOf(std::filesystem::path(capture_tests::TakeRenameTarget()));
}

std::string InMemoryScope(const std::filesystem::path& scratch,
                          const std::function<std::string()>& body) {
  const std::filesystem::path answer_file = scratch / "memory-scope-answer.txt";
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    // Each block of 64 KiB or more (the encoder's rows, tables and stream)
    // is mapped on its own and unmapped when freed: it takes address space
    // of its own, and a block left behind shows in HeldMemory().
    mallopt(M_MMAP_THRESHOLD, 64 << 10);
    mallopt(M_TRIM_THRESHOLD, 64 << 10);
    const std::string answer = body();
    std::ofstream(answer_file, std::ios::binary) << answer;
    std::fflush(stdout);
    _exit(0);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return "no child process";
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return "the child ended with status " + std::to_string(status);
  }
  const std::string answer = test_support::ContentsOf(answer_file);
  std::filesystem::remove(answer_file);
  return answer;
}

void CapMemory(std::size_t bytes) {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  statm >> pages;
  const rlimit limit{
      static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + bytes,
      RLIM_INFINITY};
  if (setrlimit(RLIMIT_AS, &limit) != 0) std::abort();
}

void UncapMemory() {
  const rlimit limit{RLIM_INFINITY, RLIM_INFINITY};
  if (setrlimit(RLIMIT_AS, &limit) != 0) std::abort();
}

std::int64_t HeldMemory() { return static_cast<std::int64_t>(mallinfo2().hblkhd); }

}  // namespace glimster::probe
