// The clock, the calendar and the C locale's character classes, as libSystem
// gives them to the bundle: the time of the capture's name, and the table
// libc++'s <cctype> reads inline for digits, spaces and hex digits.
#include <stddef.h>
#include <time.h>

#include <cstdint>

#include "Errno.h"
#include "Imports.h"

namespace macos_runner {
namespace {

// macOS's struct tm (<time.h>) is laid out as Linux's on both 64-bit
// architectures: nine ints, then tm_gmtoff and tm_zone; localtime_r and
// strftime take Linux's as they are. strftime follows the process's time
// locale on both.
static_assert(sizeof(struct tm) == 56 && offsetof(struct tm, tm_gmtoff) == 40 &&
                  offsetof(struct tm, tm_zone) == 48,
              "struct tm as on macOS");

// <runetype.h>: _RuneLocale, what _DefaultRuneLocale is.
struct RuneRange {
  int count;
  const void* ranges;
};
struct RuneLocale {
  char magic[8];
  char encoding[32];
  const void* get_rune;
  const void* put_rune;
  std::int32_t invalid_rune;
  std::uint32_t rune_type[256];
  std::int32_t lower[256];
  std::int32_t upper[256];
  RuneRange rune_type_extension, lower_extension, upper_extension;
  const void* variable;
  int variable_length;
  int class_count;
  const void* classes;
};
static_assert(offsetof(RuneLocale, rune_type) == 60 && sizeof(RuneLocale) == 3208,
              "_RuneLocale as on macOS");

// <_ctype.h>'s classes; the low byte of a digit's entry is its value.
enum : std::uint32_t {
  kAlpha = 0x100,
  kControl = 0x200,
  kDigit = 0x400,
  kGraph = 0x800,
  kLower = 0x1000,
  kPunct = 0x2000,
  kSpace = 0x4000,
  kUpper = 0x8000,
  kHexDigit = 0x10000,
  kBlank = 0x20000,
  kPrint = 0x40000,
  kWidth1 = 0x40000000,  // one column on a terminal
};

// The C locale's table, as libSystem's (FreeBSD's table.c): ASCII only,
// nothing above 0x7f.
constexpr RuneLocale CLocale() {
  RuneLocale locale{};
  for (int i = 0; i < 8; ++i) locale.magic[i] = "RuneMagA"[i];
  for (int i = 0; i < 4; ++i) locale.encoding[i] = "NONE"[i];
  locale.invalid_rune = 0xfffd;
  for (int c = 0; c < 256; ++c) {
    std::uint32_t type = 0;
    const bool lower = c >= 'a' && c <= 'z', upper = c >= 'A' && c <= 'Z';
    const bool digit = c >= '0' && c <= '9';
    if (c < 0x20 || c == 0x7f) type |= kControl;
    if (c == ' ' || (c >= '\t' && c <= '\r')) type |= kSpace;
    if (c == ' ' || c == '\t') type |= kBlank;
    if (c >= 0x20 && c < 0x7f) type |= kPrint | kWidth1;
    if (c > 0x20 && c < 0x7f) type |= kGraph;
    if (lower || upper) type |= kAlpha | (lower ? kLower : kUpper);
    if (digit) type |= kDigit | kHexDigit | static_cast<std::uint32_t>(c - '0');
    if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))
      type |= kHexDigit | static_cast<std::uint32_t>((c | 0x20) - 'a' + 10);
    if ((type & kGraph) != 0 && !lower && !upper && !digit) type |= kPunct;
    locale.rune_type[c] = c < 0x80 ? type : 0;
    locale.lower[c] = upper ? c + 0x20 : c;
    locale.upper[c] = lower ? c - 0x20 : c;
  }
  return locale;
}

const RuneLocale kDefaultRuneLocale = CLocale();

}  // namespace

ImportList LocaleImports() {
  static const Import kImports[] = {
      {"_time", Address(WithErrno<&time>::Call)},
      {"_localtime_r", Address(WithErrno<&localtime_r>::Call)},
      {"_strftime", Address(WithErrno<&strftime>::Call)},
      {"__DefaultRuneLocale", &kDefaultRuneLocale},
  };
  return {"libSystem", kImports, sizeof kImports / sizeof kImports[0]};
}

}  // namespace macos_runner
