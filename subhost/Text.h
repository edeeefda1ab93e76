// Text helpers for what the substitute host stores and logs: composition
// names are UTF-16, the call log and reports are UTF-8.
#pragma once

#include <string>

namespace glimster::subhost {

// UTF-8 form of a UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string toUtf8(const std::u16string& text);

// The text between double quotes, as call-log arguments show texts.
std::string quoted(const std::string& text);

} // namespace glimster::subhost
