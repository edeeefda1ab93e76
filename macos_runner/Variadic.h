// Variadic calls from Mac code. On x86-64 macOS and Linux share one
// convention. On arm64 they do not: Apple's passes every variadic argument
// on the stack, each in an 8-byte slot, where Linux's (AAPCS64) passes them
// in registers first. A stand-in for a variadic call is an ordinary
// variadic function whose va_list is then pointed at the stack alone; a Mac
// va_list (a pointer to those slots) is made into a Linux one the same way.
#pragma once

#include <stdarg.h>

#include <cstring>

namespace macos_runner {

#if defined(__aarch64__)
// AAPCS64's va_list: no register left to read once both offsets are 0.
struct Aapcs64VaList {
  void* stack;
  void* general_top;
  void* vector_top;
  int general_offset, vector_offset;
};
static_assert(sizeof(va_list) == sizeof(Aapcs64VaList), "AAPCS64 va_list");

// Makes `list` read the stack alone from where it is.
inline void ReadStackOnly(va_list& list) {
  Aapcs64VaList layout;
  std::memcpy(&layout, &list, sizeof layout);
  layout.general_offset = 0;
  layout.vector_offset = 0;
  std::memcpy(&list, &layout, sizeof layout);
}

// Starts `list` at the first variadic argument the Mac caller passed.
#define MAC_VA_START(list, last) (va_start(list, last), ::macos_runner::ReadStackOnly(list))

using MacVaList = void*;  // Apple's va_list on arm64: the address of the next slot
// Makes `list` read the Mac va_list `mac`; va_end it after use.
inline void FromMacVaList(va_list& list, MacVaList mac) {
  const Aapcs64VaList layout = {mac, nullptr, nullptr, 0, 0};
  std::memcpy(&list, &layout, sizeof layout);
}
#else
#define MAC_VA_START(list, last) va_start(list, last)

using MacVaList = va_list;
inline void FromMacVaList(va_list& list, MacVaList mac) { va_copy(list, mac); }
#endif

}  // namespace macos_runner
