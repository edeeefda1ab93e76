#include "Failure.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

namespace macos_runner {
namespace {

const char* g_executable = "(no bundle yet)";
const char* g_architecture = "?";

// Writes the whole line with one write, unbuffered: the process ends next.
void WriteLine(const char* head, const char* middle, const char* format, va_list arguments,
               const char* tail) {
  char line[1024];
  int used = snprintf(line, sizeof line, "GlimsterMacOS.so: %s%s (%s)%s", head, g_executable,
                      g_architecture, middle);
  if (used < 0 || used >= static_cast<int>(sizeof line)) used = 0;
  const int rest = vsnprintf(line + used, sizeof line - used, format, arguments);
  if (rest > 0) used += rest;
  if (used >= static_cast<int>(sizeof line) - 2) used = sizeof line - 2;
  used += snprintf(line + used, sizeof line - used, "%s", tail);
  if (used >= static_cast<int>(sizeof line) - 1) used = sizeof line - 2;
  line[used++] = '\n';
  ssize_t ignored = write(STDERR_FILENO, line, used);
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
