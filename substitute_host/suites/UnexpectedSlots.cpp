#include "substitute_host/suites/UnexpectedSlots.h"

#include "substitute_host/CallLog.h"
#include "substitute_host/Operations.h"
#include "substitute_host/suites/SuiteCall.h"

namespace glimster::substitute_host {

A_Err reportUnexpectedSlot(OfferedSuiteIndex row, std::size_t slot) noexcept {
  return serveCall(op::UnexpectedSlot, [&](Host& host) {
    const OfferedSuite& suite = offeredSuites()[static_cast<std::size_t>(row)];
    const std::string args = suiteArgs(suite.name, suite.version) + " slot " + std::to_string(slot);
    host.noteProblem("the plug-in called slot " + std::to_string(slot) + " of " +
                     suiteArgs(suite.name, suite.version) + ", which the host does not serve");
    host.log().record(op::UnexpectedSlot, args, kHostGenericError);
    return kHostGenericError;
  });
}

}  // namespace glimster::substitute_host
