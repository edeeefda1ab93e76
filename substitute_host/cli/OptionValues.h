// The values glimster-host's options take, read from their text; each
// throws UsageError, naming its option, for a value it cannot use.
#pragma once

#include "substitute_host/cli/Options.h"

#include <cstdint>
#include <string>

namespace glimster::substitute_host::cli {

FrameSize sizeOf(const std::string& text);                   // --size WxH
A_Time timeOf(const std::string& text);                      // --time T
std::uint32_t noiseSeedOf(const std::string& text);          // --noise SEED
int repeatCountOf(const std::string& text);                  // --repeat N
CallFailure callFailureOf(const std::string& text);          // --fail
SuiteRefusalOption suiteRefusalOf(const std::string& text);  // --refuse-suite
std::string macArchitectureOf(const std::string& text);      // --macos ARCH

}  // namespace glimster::substitute_host::cli
