// Failures planted in the stand-ins where a test cannot plant them in the C
// library: the Foundation calls, which fail on a Mac by answering nil, and
// the Mac code's malloc (the substitute host's own out-of-memory faults are
// C++ exceptions of the Linux runtime, which cannot cross into Mac code).
// glimster_macos_fail (exported, see Faults.cpp) plans them.
#pragma once

namespace macos_runner {

enum class FallibleCall {
  kHomeDirectory,           // NSHomeDirectory
  kInitWithBytes,           // -[NSString initWithBytes:length:encoding:]
  kUtf8String,              // -[NSString UTF8String]
  kAppendingPathComponent,  // -[NSString stringByAppendingPathComponent:]
  kMalloc,                  // malloc: null, errno ENOMEM
  kUtf8StringCopy,          // the malloc of -[NSString UTF8String]'s copy: nil
};

// Whether this call of `call` is the one planned to fail.
bool FailsNow(FallibleCall call);

}  // namespace macos_runner
