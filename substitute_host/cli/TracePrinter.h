// The --trace listing: every call between host and plug-in, in order.
#pragma once

#include "substitute_host/CallLog.h"

#include <ostream>

namespace glimster::substitute_host::cli {

// Prints a heading and every call of `log`, one a line, numbered from 1 as
// "OP(ARGS) -> RESULT": calls into the plug-in at the left, the host calls
// made during them indented below them.
void PrintTrace(const CallLog& log, std::ostream& out);

}  // namespace glimster::substitute_host::cli
