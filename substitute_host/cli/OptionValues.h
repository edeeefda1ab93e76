// The values glimster-host's options take, read from their text; each
// throws UsageError, naming its option, for a value it cannot use.
#pragma once

#include "substitute_host/cli/Options.h"

#include <cstdint>
#include <string>

namespace glimster::substitute_host::cli {

FrameSize SizeOf(const std::string& text);                   // --size WxH
A_Time TimeOf(const std::string& text);                      // --time T
std::uint32_t NoiseSeedOf(const std::string& text);          // --noise SEED
int RepeatCountOf(const std::string& text);                  // --repeat N
CallFailure CallFailureOf(const std::string& text);          // --fail
SuiteRefusalOption SuiteRefusalOf(const std::string& text);  // --refuse-suite
std::string MacArchitectureOf(const std::string& text);      // --macos ARCH

}  // namespace glimster::substitute_host::cli
