// Text helpers for what the substitute host stores and logs: composition
// names are UTF-16, the call log and reports are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glimster::substitute_host {

// UTF-8 form of a UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(const std::u16string& text);

// UTF-16 form of a UTF-8 text; nullopt unless it is well-formed UTF-8
// (no overlong forms, surrogates or code points past U+10FFFF).
std::optional<std::u16string> FromUtf8(std::string_view text);

// The text between double quotes, as call-log arguments show texts.
std::string quoted(const std::string& text);

}  // namespace glimster::substitute_host
