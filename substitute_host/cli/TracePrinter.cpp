#include "substitute_host/cli/TracePrinter.h"

#include "substitute_host/HostErrors.h"
#include "substitute_host/Operations.h"

#include <algorithm>
#include <iomanip>
#include <iterator>
#include <string_view>

namespace glimster::substitute_host::cli {
namespace {

constexpr std::string_view kCallsIntoPlugin[] = {
    op::kEntryPointFunc, op::kCommandHook, op::kUpdateMenuHook, op::kIdleHook, op::kDeathHook};

bool IsCallIntoPlugin(std::string_view op) {
  return std::find(std::begin(kCallsIntoPlugin), std::end(kCallsIntoPlugin), op) !=
         std::end(kCallsIntoPlugin);
}

std::string ResultText(A_Err result) {
  return result == kPluginThrew ? "threw an exception" : std::to_string(result);
}

}  // namespace

void PrintTrace(const CallLog& log, std::ostream& out) {
  out << "trace: " << log.calls().size() << " calls, in order\n";
  std::size_t number = 0;
  for (const Call& call : log.calls()) {
    out << std::setw(6) << ++number << (IsCallIntoPlugin(call.op) ? "  " : "    ") << call.op << '('
        << call.args << ") -> " << ResultText(call.result) << '\n';
  }
}

}  // namespace glimster::substitute_host::cli
