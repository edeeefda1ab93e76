// The codes the substitute host answers with on its own account (injected
// faults answer whatever code the test chose).
#pragma once

#include "host/AE_HostInterface.h"

#include <limits>

namespace glimster::substitute_host {

// A call the host cannot serve: an unexpected slot, no such menu command.
inline constexpr A_Err kHostGenericError = 1;
// A suite the host does not offer, or a release of a suite not held.
inline constexpr SPErr kSuiteNotOfferedError = 2;
// A bad argument: null out-parameter, unknown or released handle, wrong item kind.
inline constexpr A_Err kHostParameterError = 3;
// Stands for the result of a plug-in call that ended by an exception instead of returning.
inline constexpr A_Err kPluginThrew = std::numeric_limits<A_Err>::min();

}  // namespace glimster::substitute_host
