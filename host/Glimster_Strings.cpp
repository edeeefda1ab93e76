#include "host/Glimster_Strings.h"

namespace glimster {

const TableString g_strs[StrID_NUMTYPES] = {
    {StrID_NONE, ""},
    {StrID_Name, "Take Glimster"},
    {StrID_Description,
     "Glimster, (c) 2026 the Glimster developers.\r"
     "Saves the active composition's current frame as a PNG file on your desktop."},
    {StrID_GenericError, "Error enabling Glimster."},
};

const A_char* GetStringPtr(A_long strNum) { return g_strs[strNum].str; }

}  // namespace glimster
