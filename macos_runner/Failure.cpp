#include "Failure.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>

namespace macos_runner {
namespace {

const char* g_executable = "(no bundle yet)";
const char* g_architecture = "?";

// Writes the whole line with one write, unbuffered: the process ends next.
void WriteLine(const char* head, const char* middle, const char* format, va_list arguments,
               const char* tail) {
  char line[1024];
  std::size_t used = 0;
  const auto clamp = [&](int written) {
    if (written > 0) used = std::min(used + written, sizeof line - 2);
  };
  clamp(snprintf(line, sizeof line - 1, "GlimsterMacOS.so: %s%s (%s)%s", head, g_executable,
                 g_architecture, middle));
  clamp(vsnprintf(line + used, sizeof line - 1 - used, format, arguments));
  clamp(snprintf(line + used, sizeof line - 1 - used, "%s", tail));
  line[used++] = '\n';
  const ssize_t ignored = write(STDERR_FILENO, line, used);
  (void)ignored;
}

}  // namespace

void SetFailureSubject(const char* executable, const char* architecture) {
  g_executable = executable;
  g_architecture = architecture;
}

void FailLoad(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  WriteLine("cannot load ", ": ", format, arguments, "");
  va_end(arguments);
  _exit(3);
}

void FailUnimplemented(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  WriteLine("", " calls ", format, arguments, ", which the runner does not implement");
  va_end(arguments);
  abort();
}

}  // namespace macos_runner
