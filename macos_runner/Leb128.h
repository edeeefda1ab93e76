// The variable-length numbers of dyld's opcode streams and export trie.
#pragma once

#include <cstdint>

#include "Failure.h"

namespace macos_runner {

inline std::uint64_t ReadUleb(const std::uint8_t*& p, const std::uint8_t* end) {
  std::uint64_t value = 0;
  for (unsigned shift = 0;; shift += 7) {
    if (p >= end || shift > 63) FailLoad("a number in the dyld information is cut short");
    const std::uint8_t byte = *p++;
    value |= std::uint64_t{byte & 0x7fu} << shift;
    if ((byte & 0x80) == 0) return value;
  }
}

inline std::int64_t ReadSleb(const std::uint8_t*& p, const std::uint8_t* end) {
  std::int64_t value = 0;
  unsigned shift = 0;
  std::uint8_t byte;
  do {
    if (p >= end || shift > 63) FailLoad("a number in the dyld information is cut short");
    byte = *p++;
    value |= std::int64_t{byte & 0x7f} << shift;
    shift += 7;
  } while ((byte & 0x80) != 0);
  if (shift < 64 && (byte & 0x40) != 0) value |= -(std::int64_t{1} << shift);
  return value;
}

}  // namespace macos_runner
