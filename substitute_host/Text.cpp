#include "substitute_host/Text.h"

namespace glimster::substitute_host {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t code_point) {
  if (code_point < 0x80) {
    out += static_cast<char>(code_point);
  } else if (code_point < 0x800) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else if (code_point < 0x10000) {
    out += static_cast<char>(0xE0 | (code_point >> 12));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code_point >> 18));
    out += static_cast<char>(0x80 | ((code_point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code_point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code_point & 0x3F));
  }
}

// Appends `code_point` as one or two UTF-16 units.
void AppendUtf16(std::u16string& out, char32_t code_point) {
  if (code_point < 0x10000) {
    out += static_cast<char16_t>(code_point);
  } else {
    code_point -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (code_point >> 10));
    out += static_cast<char16_t>(0xDC00 + (code_point & 0x3FF));
  }
}

// How many bytes a UTF-8 sequence starting with `lead` has, and the smallest
// code point it may carry; {0, 0} for a byte that cannot start one.
struct Utf8Lead {
  std::size_t length;
  char32_t smallest;
};
Utf8Lead LeadOf(unsigned char lead) {
  if (lead < 0x80) return {1, 0};
  if ((lead & 0xE0) == 0xC0) return {2, 0x80};
  if ((lead & 0xF0) == 0xE0) return {3, 0x800};
  if ((lead & 0xF8) == 0xF0) return {4, 0x10000};
  return {0, 0};
}

}  // namespace

std::optional<std::u16string> FromUtf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const Utf8Lead form = LeadOf(lead);
    if (form.length == 0 || i + form.length > text.size()) {
      return std::nullopt;
    }
    char32_t code_point = form.length == 1 ? lead : lead & (0x7F >> form.length);
    for (std::size_t k = 1; k < form.length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) {
        return std::nullopt;
      }
      code_point = (code_point << 6) | (next & 0x3F);
    }
    if (code_point < form.smallest || code_point > 0x10FFFF ||
        (code_point >= 0xD800 && code_point <= 0xDFFF)) {
      return std::nullopt;
    }
    AppendUtf16(out, code_point);
    i += form.length;
  }
  return out;
}

std::string ToUtf8(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      const char32_t high = unit - 0xD800u;
      const char32_t low = text[++i] - 0xDC00u;
      AppendUtf8(out, 0x10000u + (high << 10) + low);
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(out, kReplacementCharacter);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

std::string quoted(const std::string& text) { return '"' + text + '"'; }

}  // namespace glimster::substitute_host
