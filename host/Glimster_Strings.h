// The plug-in's fixed texts.
#pragma once

#include "host/AE_HostInterface.h"

namespace glimster {

// The rows of the string table: a row's number is both its index and its
// position. The platform's long width, as the table stores it.
enum class StringRow : long {
  kNone = 0,
  kName = 1,          // the menu item's text
  kDescription = 2,   // the about text; nothing reads it
  kGenericError = 3,  // reported when registration fails
};
inline constexpr int kStringRows = 4;

// A row of the table: its index and its text.
struct TableString {
  StringRow index;
  A_char str[256];
};

extern const TableString g_strs[kStringRows];

// The text of row `str_num`, picked by position; the number is not checked.
const A_char* GetStringPtr(A_long str_num);

// The text of `row`.
inline const A_char* GetStringPtr(StringRow row) { return GetStringPtr(static_cast<A_long>(row)); }

}  // namespace glimster
