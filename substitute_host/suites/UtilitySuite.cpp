// "AEGP Utility Suite" 7: the information report.
#include "substitute_host/Operations.h"
#include "substitute_host/Text.h"
#include "substitute_host/suites/SuiteCall.h"
#include "substitute_host/suites/SuiteTables.h"
#include "substitute_host/suites/UnexpectedSlots.h"

namespace glimster::substitute_host {
namespace {

A_Err ReportInfo(AEGP_PluginID plugin, const A_char* text) {
  return ServeCall(op::kReportInfo, [&](Host& host) {
    OperationCall call(host, op::kReportInfo);
    const std::string args =
        "plugin " + std::to_string(plugin) + ", " + (text != nullptr ? quoted(text) : "null text");
    if (text == nullptr) {
      return call.misuse(args, "null text");
    }
    if (plugin != host.PluginId()) {
      return call.misuse(args, kForeignPlugin);
    }
    if (call.performs()) {
      host.ShowReport(text);
    }
    return call.finish(args);
  });
}

}  // namespace

const AEGP_UtilitySuite7& UtilitySuite7() {
  static const AEGP_UtilitySuite7 kSuite = [] {
    auto suite = TableOfUnexpectedSlots<OfferedSuiteIndex::kUtility7, AEGP_UtilitySuite7>();
    suite.AEGP_ReportInfo = &ReportInfo;
    return suite;
  }();
  return kSuite;
}

}  // namespace glimster::substitute_host
