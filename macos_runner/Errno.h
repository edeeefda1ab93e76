// errno as the Mac code sees it: macOS's numbers, through ___error. Every
// stand-in that calls the C library does so inside an ErrnoScope, so the
// numbers are translated on the way in and on the way out.
#pragma once

namespace macos_runner {

// macOS's number for Linux's errno `number`, and back (<sys/errno.h> of
// each). Numbers one system has and the other lacks become EIO.
int MacErrno(int number);
int LinuxErrno(int number);

// The Mac code's errno on this thread (what ___error points at).
int& MacErrnoHere();

// While it lives, errno holds the Mac code's errno in Linux's numbering, so
// a call that leaves errno alone leaves the Mac code's alone too; when it
// ends, the Mac code's errno takes what the call left, in macOS's numbering.
class ErrnoScope {
 public:
  ErrnoScope();
  ~ErrnoScope();
  ErrnoScope(const ErrnoScope&) = delete;
  ErrnoScope& operator=(const ErrnoScope&) = delete;
};

// WithErrno<&write>::Call: the C library's `write`, called inside an ErrnoScope.
template <auto kFunction>
struct WithErrno;
template <typename R, typename... A, bool kNoexcept, R (*kFunction)(A...) noexcept(kNoexcept)>
struct WithErrno<kFunction> {
  static R Call(A... arguments) {
    ErrnoScope scope;
    return kFunction(arguments...);
  }
};

}  // namespace macos_runner
