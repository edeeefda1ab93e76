// Plain UTF-16 and UTF-8 helpers for the naming fuzz target, written apart
// from the code under test so that they can judge it.
#pragma once

#include <cstddef>
#include <string>

namespace glimster::fuzz {

inline bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Whether `units` holds no NUL and every surrogate is half of a high-low pair.
inline bool IsNulFreeWellFormedUtf16(const std::u16string& units) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (units[i] == 0 || IsLowSurrogate(units[i])) return false;
    if (IsHighSurrogate(units[i])) {
      if (i + 1 == units.size() || !IsLowSurrogate(units[i + 1])) return false;
      ++i;
    }
  }
  return true;
}

// The UTF-8 form of well-formed UTF-16 `units`.
inline std::string EncodeUtf8(const std::u16string& units) {
  std::string utf8;
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (IsHighSurrogate(c)) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    }
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else if (c < 0x800) {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (c >> 12));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | (c >> 18));
      utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

// Whether `bytes` is valid UTF-8: shortest forms only, no surrogate, nothing
// past U+10FFFF, no sequence cut short.
inline bool IsValidUtf8(const std::string& bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length;
    char32_t c;
    char32_t smallest;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2, c = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3, c = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4, c = lead & 0x07, smallest = 0x10000;
    } else {
      return false;
    }
    if (bytes.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      c = (c << 6) | (next & 0x3F);
    }
    if (c < smallest || c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) return false;
    i += length;
  }
  return true;
}

}  // namespace glimster::fuzz
