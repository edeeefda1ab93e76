// The standard I/O of libSystem the bundle uses: its printed lines and
// libc++abi's last words before an abort. The Mac code's FILE* is Linux's:
// it only ever passes the stream on, and never looks inside it.
#include <stdio.h>

#include <cstddef>

#include "Errno.h"
#include "Imports.h"
#include "Variadic.h"

namespace macos_runner {
namespace {

int Printf(const char* format, ...) {
  va_list arguments;
  MAC_VA_START(arguments, format);
  ErrnoScope scope;
  const int printed = vprintf(format, arguments);
  va_end(arguments);
  return printed;
}

int Snprintf(char* buffer, std::size_t size, const char* format, ...) {
  va_list arguments;
  MAC_VA_START(arguments, format);
  ErrnoScope scope;
  const int length = vsnprintf(buffer, size, format, arguments);
  va_end(arguments);
  return length;
}

int Vfprintf(FILE* stream, const char* format, MacVaList mac_arguments) {
  va_list arguments;
  FromMacVaList(arguments, mac_arguments);
  ErrnoScope scope;
  const int printed = vfprintf(stream, format, arguments);
  va_end(arguments);
  return printed;
}

}  // namespace

// ___stdoutp and ___stderrp are variables holding the FILE* of each stream,
// as Linux's stdout and stderr are: the Mac code reads Linux's own.
ImportList StdioImports() {
  static const Import kImports[] = {
      {"___stdoutp", &stdout},
      {"___stderrp", &stderr},
      {"_printf", Address(Printf)},
      {"_snprintf", Address(Snprintf)},
      {"_vfprintf", Address(Vfprintf)},
      {"_fputc", Address(WithErrno<&fputc>::Call)},
      {"_fwrite", Address(WithErrno<&fwrite>::Call)},
      {"_fflush", Address(WithErrno<&fflush>::Call)},
  };
  return {"libSystem", kImports, sizeof kImports / sizeof kImports[0]};
}

}  // namespace macos_runner
