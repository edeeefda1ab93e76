#include "substitute_host/suites/UnexpectedSlots.h"

#include "substitute_host/CallLog.h"
#include "substitute_host/Operations.h"
#include "substitute_host/suites/SuiteCall.h"

namespace glimster::substitute_host {

A_Err ReportUnexpectedSlot(OfferedSuiteIndex row, std::size_t slot) noexcept {
  return ServeCall(op::kUnexpectedSlot, [&](Host& host) {
    const OfferedSuite& suite = OfferedSuites()[static_cast<std::size_t>(row)];
    const std::string args = SuiteArgs(suite.name, suite.version) + " slot " + std::to_string(slot);
    host.NoteProblem("the plug-in called slot " + std::to_string(slot) + " of " +
                     SuiteArgs(suite.name, suite.version) + ", which the host does not serve");
    host.log().record(op::kUnexpectedSlot, args, kHostGenericError);
    return kHostGenericError;
  });
}

}  // namespace glimster::substitute_host
