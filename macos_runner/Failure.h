// How the runner gives up: one line on standard error naming the bundle, its
// architecture and what is missing, then the process ends. A host learns of
// it at dlopen, before the Mac code has run, whenever that is possible.
#pragma once

namespace macos_runner {

// The bundle's executable and the architecture of the slice being run,
// named by every failure from now on.
void SetFailureSubject(const char* executable, const char* architecture);

// "GlimsterMacOS.so: cannot load EXECUTABLE (ARCH): <printf text>", then
// _exit(3), what a host answers for a plug-in it could not load.
[[noreturn]] void FailLoad(const char* format, ...) __attribute__((format(printf, 1, 2)));

// "GlimsterMacOS.so: EXECUTABLE (ARCH) calls <printf text>, which the runner
// does not implement", then abort(): the Mac code asked at run time for
// something the stand-ins do not do (an fcntl command, a string encoding).
[[noreturn]] void FailUnimplemented(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace macos_runner
