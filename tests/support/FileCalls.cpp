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

std::mutex g_mutex;
bool g_recording = false;
std::string g_folder;
std::vector<std::string> g_calls;
std::map<int, std::string> g_open_names;  // descriptor -> name in the folder
std::set<int> g_written_to;               // descriptors whose first write was interrupted
struct Failure {
  int error;
  int after;  // calls let through first
};
std::map<std::string, Failure> g_failing;  // call -> how it fails
bool g_pretend_writes = false;
std::vector<std::size_t> g_write_sizes;  // asked for by the pretended writes
std::vector<std::uint64_t> g_draws;
std::size_t g_next_draw = 0;
std::string g_rename_target;               // of the last rename
constexpr std::size_t kShortWrite = 4096;  // the most a write to a recorded file takes

// The name of `path` in the recorded folder, or "" when it lies elsewhere.
std::string NameInFolder(const char* path) {
  const std::string text = path;
  if (text == g_folder) return ".";
  if (text.size() <= g_folder.size() + 1 || text.compare(0, g_folder.size(), g_folder) != 0 ||
      text[g_folder.size()] != '/' || text.find('/', g_folder.size() + 1) != std::string::npos) {
    return "";
  }
  return text.substr(g_folder.size() + 1);
}

// Writes in a row are one write, and so are flushes in a row: the Mac code's
// full flush, noted as fsync, and the fsync it falls back to.
void Note(const std::string& call) {
  const bool repeatable = call.rfind("write ", 0) == 0 || call.rfind("fsync ", 0) == 0;
  if (repeatable && !g_calls.empty() && g_calls.back() == call) return;
  g_calls.push_back(call);
}

template <typename Function>
Function Real(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// Whether the call on `name` is to fail (it was planned for it); errno is
// then the planned error.
bool FailsNow(const std::string& call, const std::string& name) {
  const auto planned = g_failing.find(call);
  if (name.empty() || planned == g_failing.end()) return false;
  if (planned->second.after > 0) {
    --planned->second.after;
    return false;
  }
  errno = planned->second.error;
  return true;
}

// A flush of `fd`, noted as fsync; the first of `plans` planned for it fails it.
int Flush(int fd, std::initializer_list<const char*> plans) {
  static const auto kReal = Real<int (*)(int)>("fsync");
  {
    const std::lock_guard<std::mutex> lock(g_mutex);
    const auto open = g_recording ? g_open_names.find(fd) : g_open_names.end();
    if (open != g_open_names.end()) {
      Note("fsync " + open->second);
      for (const char* plan : plans)
        if (FailsNow(plan, open->second)) return -1;
    }
  }
  return kReal(fd);
}

}  // namespace

void StartRecordingFileCalls(const std::filesystem::path& folder) {
  const std::lock_guard<std::mutex> lock(g_mutex);
  g_folder = folder.string();
  g_calls.clear();
  g_open_names.clear();
  g_written_to.clear();
  g_recording = true;
}

std::vector<std::string> StopRecordingFileCalls() {
  const std::lock_guard<std::mutex> lock(g_mutex);
  g_recording = false;
  g_pretend_writes = false;
  g_failing.clear();
  return g_calls;
}

void PretendWrites() {
  const std::lock_guard<std::mutex> lock(g_mutex);
  g_pretend_writes = true;
  g_write_sizes.clear();
}

std::vector<std::size_t> WriteSizes() {
  const std::lock_guard<std::mutex> lock(g_mutex);
  return g_write_sizes;
}

void FailFileCalls(const std::string& call, int error, int after) {
  const std::lock_guard<std::mutex> lock(g_mutex);
  g_failing[call] = {error, after};
}

std::string TakeRenameTarget() {
  const std::lock_guard<std::mutex> lock(g_mutex);
  return std::exchange(g_rename_target, std::string());
}

void PlanRandomDraws(std::vector<std::uint64_t> draws) {
  const std::lock_guard<std::mutex> lock(g_mutex);
  g_draws = std::move(draws);
  g_next_draw = 0;
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
  static const auto kReal = Real<int (*)(const char*, int, ...)>("open");
  const int fd = kReal(path, flags, mode);
  const int error = errno;
  const std::lock_guard<std::mutex> lock(g_mutex);
  const std::string name = g_recording ? NameInFolder(path) : "";
  if (!name.empty()) {
    Note("open " + name + (fd < 0 && error == EEXIST ? ": exists" : fd < 0 ? ": failed" : ""));
    if (fd >= 0) g_open_names[fd] = name;
  }
  errno = error;
  return fd;
}

extern "C" ssize_t write(int fd, const void* bytes, size_t size) {
  static const auto kReal = Real<ssize_t (*)(int, const void*, size_t)>("write");
  {
    const std::lock_guard<std::mutex> lock(g_mutex);
    const auto open = g_recording ? g_open_names.find(fd) : g_open_names.end();
    if (open != g_open_names.end()) {
      Note("write " + open->second);
      if (!g_pretend_writes && g_written_to.insert(fd).second) {
        errno = EINTR;
        return -1;
      }
      if (FailsNow("write", open->second)) return -1;
      if (g_pretend_writes) {
        g_write_sizes.push_back(size);
        return static_cast<ssize_t>(size);
      }
      size = std::min(size, kShortWrite);
    }
  }
  return kReal(fd, bytes, size);
}

extern "C" int fsync(int fd) { return Flush(fd, {"fsync"}); }

// macos_runner's full flush, the Mac code's fcntl(F_FULLFSYNC).
extern "C" int glimster_macos_full_fsync(int fd) { return Flush(fd, {"fullfsync", "fsync"}); }

extern "C" int close(int fd) {
  static const auto kReal = Real<int (*)(int)>("close");
  {
    const std::lock_guard<std::mutex> lock(g_mutex);
    const auto open = g_recording ? g_open_names.find(fd) : g_open_names.end();
    if (open != g_open_names.end()) {
      const std::string name = open->second;
      Note("close " + name);
      g_open_names.erase(open);
      g_written_to.erase(fd);
      if (FailsNow("close", name)) {
        const int error = errno;
        kReal(fd);  // closed all the same, as by a close that reports a lost write
        errno = error;
        return -1;
      }
    }
  }
  return kReal(fd);
}

extern "C" int rename(const char* from, const char* to) {
  static const auto kReal = Real<int (*)(const char*, const char*)>("rename");
  {
    const std::lock_guard<std::mutex> lock(g_mutex);
    if (g_recording && !NameInFolder(from).empty())
      Note("rename " + NameInFolder(from) + " -> " + NameInFolder(to));
    g_rename_target = to;
  }
  return kReal(from, to);
}

extern "C" int unlink(const char* path) {
  static const auto kReal = Real<int (*)(const char*)>("unlink");
  {
    const std::lock_guard<std::mutex> lock(g_mutex);
    const std::string name = g_recording ? NameInFolder(path) : "";
    if (!name.empty()) Note("unlink " + name);
    if (FailsNow("unlink", name)) return -1;
  }
  return kReal(path);
}

extern "C" ssize_t getrandom(void* buffer, size_t size, unsigned int flags) {
  {
    const std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_draws.empty()) {
      const std::uint64_t draw = g_draws[std::min(g_next_draw++, g_draws.size() - 1)];
      std::memset(buffer, 0, size);
      std::memcpy(buffer, &draw, std::min(size, sizeof draw));
      return static_cast<ssize_t>(size);
    }
  }
  return syscall(SYS_getrandom, buffer, size, flags);
}
