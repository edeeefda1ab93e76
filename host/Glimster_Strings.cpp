#include "host/Glimster_Strings.h"

namespace glimster {

const TableString g_strs[kStringRows] = {
    {StringRow::kNone, ""},
    {StringRow::kName, "Take Glimster"},
    {StringRow::kDescription,
     "Glimster, (c) 2026 the Glimster developers.\r"
     "Saves the active composition's current frame as a PNG file on your desktop."},
    {StringRow::kGenericError, "Error enabling Glimster."},
};

const A_char* GetStringPtr(A_long str_num) { return g_strs[str_num].str; }

}  // namespace glimster
