// The file calls of libSystem the bundle makes, on Linux's C library. Each
// is called by its plain name, so a program that defines its own `open`,
// `write`, `fsync`... (a test's interposer) sees the Mac code's calls too,
// and the failures it plants reach the Mac code with macOS's errno.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/random.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

#include "Errno.h"
#include "Failure.h"
#include "Imports.h"
#include "Variadic.h"

// The full flush of the Mac code's fcntl(F_FULLFSYNC): Linux's fsync.
// Exported, and so called through the dynamic linker, so that a program
// that defines its own glimster_macos_full_fsync sees every full flush.
extern "C" __attribute__((visibility("default"))) int glimster_macos_full_fsync(int fd) {
  return fsync(fd);
}

namespace macos_runner {
namespace {

// macOS's open flags (<sys/fcntl.h>) and Linux's for the same thing. The
// access mode (the low two bits) is the same on both.
constexpr struct {
  int mac_flag, linux_flag;
} kOpenFlags[] = {
    {0x00000004, O_NONBLOCK}, {0x00000008, O_APPEND},  {0x00000080, O_SYNC},
    {0x00000100, O_NOFOLLOW}, {0x00000200, O_CREAT},   {0x00000400, O_TRUNC},
    {0x00000800, O_EXCL},     {0x00020000, O_NOCTTY},  {0x00100000, O_DIRECTORY},
    {0x00400000, O_DSYNC},    {0x01000000, O_CLOEXEC},
};
constexpr int kMacAccessMode = 0x3;
constexpr int kMacCreate = 0x200;
constexpr int kMacFullFsync = 51;  // F_FULLFSYNC

int Open(const char* path, int mac_flags, ...) {
  int flags = mac_flags & kMacAccessMode;
  int left = mac_flags & ~kMacAccessMode;
  for (const auto& pair : kOpenFlags) {
    if ((mac_flags & pair.mac_flag) == 0) continue;
    flags |= pair.linux_flag;
    left &= ~pair.mac_flag;
  }
  if (left != 0) FailUnimplemented("open with the flags 0x%x", left);
  int mode = 0;
  if ((mac_flags & kMacCreate) != 0) {
    va_list arguments;
    MAC_VA_START(arguments, mac_flags);
    mode = va_arg(arguments, int);
    va_end(arguments);
  }
  ErrnoScope scope;
  return open(path, flags, mode);
}

// F_FULLFSYNC asks the drive to write its cache out as well. Linux's fsync
// already does (it flushes the device's write cache), so it is the full
// flush here; it is reached through glimster_macos_full_fsync (below), a
// call of its own, so that a program watching the file calls (a test's
// interposer) sees the full flush apart from the Mac code's fsync and can
// fail one and not the other. Not Linux's fcntl with the Mac's command:
// Linux answers a command it does not know EINVAL, which the Mac code
// rightly takes for a file system that cannot flush fully, and the full
// flush would never be tried.
int Fcntl(int fd, int command, ...) {
  if (command != kMacFullFsync) FailUnimplemented("fcntl command %d", command);
  ErrnoScope scope;
  return glimster_macos_full_fsync(fd);
}

// Never fails and never blocks once the system has entropy, as on macOS.
void Arc4RandomBuf(void* buffer, std::size_t size) {
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  const int saved = errno;
  while (size > 0) {
    const ssize_t got = getrandom(bytes, size, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) FailUnimplemented("arc4random_buf where getrandom fails (errno %d)", errno);
    bytes += got;
    size -= static_cast<std::size_t>(got);
  }
  errno = saved;
}

}  // namespace

ImportList FileImports() {
  static const Import kImports[] = {
      {"_open", Address(Open)},
      {"_write", Address(WithErrno<&write>::Call)},
      {"_fsync", Address(WithErrno<&fsync>::Call)},
      {"_fcntl", Address(Fcntl)},
      {"_close", Address(WithErrno<&close>::Call)},
      {"_rename", Address(WithErrno<&rename>::Call)},
      {"_unlink", Address(WithErrno<&unlink>::Call)},
      {"_arc4random_buf", Address(Arc4RandomBuf)},
  };
  return {kImports, sizeof kImports / sizeof kImports[0]};
}

}  // namespace macos_runner
