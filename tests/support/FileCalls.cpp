#include "tests/support/FileCalls.h"

#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdarg.h>
#include <sys/random.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <map>
#include <mutex>
#include <set>
#include <utility>

namespace glimster::capture_tests {
namespace {

std::mutex gMutex;
bool gRecording = false;
std::string gFolder;
std::vector<std::string> gCalls;
std::map<int, std::string> gOpenNames;  // descriptor -> name in the folder
std::set<int> gWrittenTo;               // descriptors whose first write was interrupted
struct Failure {
  int error;
  int after;  // calls let through first
};
std::map<std::string, Failure> gFailing;  // call -> how it fails
bool gPretendWrites = false;
std::vector<std::size_t> gWriteSizes;  // asked for by the pretended writes
std::vector<std::uint64_t> gDraws;
std::size_t gNextDraw = 0;
std::string gRenameTarget;                 // of the last rename
constexpr std::size_t kShortWrite = 4096;  // the most a write to a recorded file takes

// The name of `path` in the recorded folder, or "" when it lies elsewhere.
std::string NameInFolder(const char* path) {
  const std::string text = path;
  if (text == gFolder) return ".";
  if (text.size() <= gFolder.size() + 1 || text.compare(0, gFolder.size(), gFolder) != 0 ||
      text[gFolder.size()] != '/' || text.find('/', gFolder.size() + 1) != std::string::npos) {
    return "";
  }
  return text.substr(gFolder.size() + 1);
}

// Writes in a row are one write, and so are flushes in a row: the Mac code's
// full flush, noted as fsync, and the fsync it falls back to.
void Note(const std::string& call) {
  const bool repeatable = call.rfind("write ", 0) == 0 || call.rfind("fsync ", 0) == 0;
  if (repeatable && !gCalls.empty() && gCalls.back() == call) return;
  gCalls.push_back(call);
}

template <typename Function>
Function Real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// Whether the call on `name` is to fail (it was planned for it); errno is
// then the planned error.
bool FailsNow(const std::string& call, const std::string& name) {
  const auto planned = gFailing.find(call);
  if (name.empty() || planned == gFailing.end()) return false;
  if (planned->second.after > 0) {
    --planned->second.after;
    return false;
  }
  errno = planned->second.error;
  return true;
}

// A flush of `fd`, noted as fsync; the first of `plans` planned for it fails it.
int Flush(int fd, std::initializer_list<const char*> plans) {
  static const auto real = Real<int (*)(int)>("fsync");
  {
    const std::lock_guard<std::mutex> lock(gMutex);
    const auto open = gRecording ? gOpenNames.find(fd) : gOpenNames.end();
    if (open != gOpenNames.end()) {
      Note("fsync " + open->second);
      for (const char* plan : plans)
        if (FailsNow(plan, open->second)) return -1;
    }
  }
  return real(fd);
}

}  // namespace

void StartRecordingFileCalls(const std::filesystem::path& folder) {
  const std::lock_guard<std::mutex> lock(gMutex);
  gFolder = folder.string();
  gCalls.clear();
  gOpenNames.clear();
  gWrittenTo.clear();
  gRecording = true;
}

std::vector<std::string> StopRecordingFileCalls() {
  const std::lock_guard<std::mutex> lock(gMutex);
  gRecording = false;
  gPretendWrites = false;
  gFailing.clear();
  return gCalls;
}

void PretendWrites() {
  const std::lock_guard<std::mutex> lock(gMutex);
  gPretendWrites = true;
  gWriteSizes.clear();
}

std::vector<std::size_t> WriteSizes() {
  const std::lock_guard<std::mutex> lock(gMutex);
  return gWriteSizes;
}

void FailFileCalls(const std::string& call, int error, int after) {
  const std::lock_guard<std::mutex> lock(gMutex);
  gFailing[call] = {error, after};
}

std::string TakeRenameTarget() {
  const std::lock_guard<std::mutex> lock(gMutex);
  return std::exchange(gRenameTarget, std::string());
}

void PlanRandomDraws(std::vector<std::uint64_t> draws) {
  const std::lock_guard<std::mutex> lock(gMutex);
  gDraws = std::move(draws);
  gNextDraw = 0;
}

}  // namespace glimster::capture_tests

using namespace glimster::capture_tests;

extern "C" int open(const char* path, int flags, ...) {
  mode_t mode = 0;
  if ((flags & O_CREAT) != 0) {
    va_list arguments;
    va_start(arguments, flags);
    mode = static_cast<mode_t>(va_arg(arguments, int));
    va_end(arguments);
  }
  static const auto real = Real<int (*)(const char*, int, ...)>("open");
  const int fd = real(path, flags, mode);
  const int error = errno;
  const std::lock_guard<std::mutex> lock(gMutex);
  const std::string name = gRecording ? NameInFolder(path) : "";
  if (!name.empty()) {
    Note("open " + name + (fd < 0 && error == EEXIST ? ": exists" : fd < 0 ? ": failed" : ""));
    if (fd >= 0) gOpenNames[fd] = name;
  }
  errno = error;
  return fd;
}

extern "C" ssize_t write(int fd, const void* bytes, size_t size) {
  static const auto real = Real<ssize_t (*)(int, const void*, size_t)>("write");
  {
    const std::lock_guard<std::mutex> lock(gMutex);
    const auto open = gRecording ? gOpenNames.find(fd) : gOpenNames.end();
    if (open != gOpenNames.end()) {
      Note("write " + open->second);
      if (!gPretendWrites && gWrittenTo.insert(fd).second) {
        errno = EINTR;
        return -1;
      }
      if (FailsNow("write", open->second)) return -1;
      if (gPretendWrites) {
        gWriteSizes.push_back(size);
        return static_cast<ssize_t>(size);
      }
      size = std::min(size, kShortWrite);
    }
  }
  return real(fd, bytes, size);
}

extern "C" int fsync(int fd) { return Flush(fd, {"fsync"}); }

// macos_runner's full flush, the Mac code's fcntl(F_FULLFSYNC).
extern "C" int glimster_macos_full_fsync(int fd) { return Flush(fd, {"fullfsync", "fsync"}); }

extern "C" int close(int fd) {
  static const auto real = Real<int (*)(int)>("close");
  {
    const std::lock_guard<std::mutex> lock(gMutex);
    const auto open = gRecording ? gOpenNames.find(fd) : gOpenNames.end();
    if (open != gOpenNames.end()) {
      const std::string name = open->second;
      Note("close " + name);
      gOpenNames.erase(open);
      gWrittenTo.erase(fd);
      if (FailsNow("close", name)) {
        const int error = errno;
        real(fd);  // closed all the same, as by a close that reports a lost write
        errno = error;
        return -1;
      }
    }
  }
  return real(fd);
}

extern "C" int rename(const char* from, const char* to) {
  static const auto real = Real<int (*)(const char*, const char*)>("rename");
  {
    const std::lock_guard<std::mutex> lock(gMutex);
    if (gRecording && !NameInFolder(from).empty())
      Note("rename " + NameInFolder(from) + " -> " + NameInFolder(to));
    gRenameTarget = to;
  }
  return real(from, to);
}

extern "C" int unlink(const char* path) {
  static const auto real = Real<int (*)(const char*)>("unlink");
  {
    const std::lock_guard<std::mutex> lock(gMutex);
    const std::string name = gRecording ? NameInFolder(path) : "";
    if (!name.empty()) Note("unlink " + name);
    if (FailsNow("unlink", name)) return -1;
  }
  return real(path);
}

extern "C" ssize_t getrandom(void* buffer, size_t size, unsigned int flags) {
  {
    const std::lock_guard<std::mutex> lock(gMutex);
    if (!gDraws.empty()) {
      const std::uint64_t draw = gDraws[std::min(gNextDraw++, gDraws.size() - 1)];
      std::memset(buffer, 0, size);
      std::memcpy(buffer, &draw, std::min(size, sizeof draw));
      return static_cast<ssize_t>(size);
    }
  }
  return syscall(SYS_getrandom, buffer, size, flags);
}
