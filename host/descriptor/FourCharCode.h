// A four-character code such as 'kind' or '8BIM': four 8-bit characters that
// the host's formats treat as one 32-bit number, the first character being the
// most significant byte.
#pragma once

#include <cstdint>

namespace glimster::descriptor {

class FourCharCode {
 public:
  // Takes exactly four characters: FourCharCode("kind").
  constexpr explicit FourCharCode(const char (&code)[5])
      : value_(static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(code[3]))) {}

  // The code read as a big-endian number.
  constexpr std::uint32_t value() const { return value_; }

 private:
  std::uint32_t value_;
};

}  // namespace glimster::descriptor
