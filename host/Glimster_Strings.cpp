#include "host/Glimster_Strings.h"

namespace glimster {

const TableString kGStrs[StrID_NUMTYPES] = {
    {StrID_NONE, ""},
    {StrID_Name, "Take Glimster"},
    {StrID_Description,
     "Glimster, (c) 2026 the Glimster developers.\r"
     "Saves the active composition's current frame as a PNG file on your desktop."},
    {StrID_GenericError, "Error enabling Glimster."},
};

const A_char* GetStringPtr(A_long str_num) { return kGStrs[str_num].str; }

}  // namespace glimster
