// The plug-in's fixed texts.
#pragma once

#include "host/AE_HostInterface.h"

namespace glimster {

enum StrID {
  StrID_NONE = 0,
  StrID_Name = 1,          // the menu item's text
  StrID_Description = 2,   // the about text; nothing reads it
  StrID_GenericError = 3,  // reported when registration fails
  StrID_NUMTYPES
};

// A row of the table: its index (the platform's long width) and its text.
struct TableString {
  long index;
  A_char str[256];
};

extern const TableString kGStrs[StrID_NUMTYPES];

// The text of row `strNum`, picked by position; the number is not checked.
const A_char* GetStringPtr(A_long str_num);

}  // namespace glimster
