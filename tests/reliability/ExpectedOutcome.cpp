#include "ExpectedOutcome.h"

#include "substitute_host/Operations.h"

#include <algorithm>
#include <iterator>

namespace glimster::reliability {
namespace {

namespace op = substitute_host::op;

// The suites the plug-in may acquire, in its catalogue's order, which is the
// order of release.
const std::vector<std::string>& ReleaseOrder() {
  static const std::vector<std::string> kOrder = {
      substitute_host::SuiteArgs("AEGP Comp Suite", 14),
      substitute_host::SuiteArgs("AEGP Register Suite", 6),
      substitute_host::SuiteArgs("AEGP Item Suite", 13),
      substitute_host::SuiteArgs("AEGP Item Suite", 10),
      substitute_host::SuiteArgs("AEGP Memory Suite", 1),
      substitute_host::SuiteArgs("AEGP Command Suite", 1),
      substitute_host::SuiteArgs("AEGP Utility Suite", 7),
      substitute_host::SuiteArgs("AEGP Render Suite", 2),
      substitute_host::SuiteArgs("AEGP World Suite", 2),
      substitute_host::SuiteArgs("AEGP Render Options Suite", 2),
  };
  return kOrder;
}

std::size_t ReleasePosition(const std::string& suite) {
  const auto& order = ReleaseOrder();
  return static_cast<std::size_t>(std::find(order.begin(), order.end(), suite) - order.begin());
}

}  // namespace

bool ResultIgnored(EntryPoint entry, const std::string& op) {
  switch (entry) {
    case EntryPoint::kEntry:
      return op == op::kReportInfo;  // the registration failure stays the answer
    case EntryPoint::kUpdateMenu:
      return false;
    case EntryPoint::kCommand:
      // A name that cannot be had is the empty name; it never fails a capture,
      // and neither does the report of a capture that wrote nothing.
      return op == op::kGetItemName || op == op::kLockMemHandle || op == op::kGetMemHandleSize ||
             op == op::kReportInfo;
  }
  return false;
}

bool RefusalEndsTheCall(EntryPoint entry, const std::string& suite) {
  // The report of a capture that wrote nothing is a courtesy: without its
  // suite the capture ends as it would have.
  return !(entry == EntryPoint::kCommand &&
           suite == substitute_host::SuiteArgs("AEGP Utility Suite", 7));
}

A_Err ExpectedCode(EntryPoint entry, const FaultPath& path) {
  const bool suite_refused = std::any_of(path.begin(), path.end(), [&](const PlantedFault& fault) {
    return fault.at.IsAcquire() && RefusalEndsTheCall(entry, fault.at.suite);
  });
  if (suite_refused) return kMissingSuite;
  for (const PlantedFault& fault : path) {
    if (fault.code != 0 && !fault.at.IsAcquire() && !ResultIgnored(entry, fault.at.op)) {
      return fault.code;
    }
  }
  return A_Err_NONE;
}

bool FrameWithheld(EntryPoint entry, const FaultPath& path) {
  if (entry != EntryPoint::kCommand) return false;
  for (const PlantedFault& fault : path) {
    if (fault.at.IsAcquire()) {
      if (RefusalEndsTheCall(entry, fault.at.suite)) return false;
      continue;
    }
    const std::string& step = fault.at.op;
    const bool gives_the_frame = step == op::kNewFromItem || step == op::kRenderAndCheckoutFrame ||
                                 step == op::kGetReceiptWorld || step == op::kFillOutPfEffectWorld;
    if (gives_the_frame && fault.code == 0 && fault.outputs == substitute_host::Outputs::kCleared) {
      return true;
    }
    if (fault.code != 0 && !ResultIgnored(entry, step)) return false;
  }
  return false;
}

substitute_host::Outstanding KeptByTheHost(const FaultPath& path) {
  substitute_host::Outstanding kept;
  for (const PlantedFault& fault : path) {
    if (fault.outputs != substitute_host::Outputs::kCleared) continue;
    if (fault.at.op == op::kDispose) ++kept.render_options;
    if (fault.at.op == op::kCheckinFrame) ++kept.frame_receipts;
    if (fault.at.op == op::kFreeMemHandle) ++kept.mem_handles;
  }
  return kept;
}

std::optional<std::vector<std::string>> InReleaseOrder(std::vector<std::string> acquired) {
  for (const std::string& suite : acquired) {
    if (ReleasePosition(suite) == ReleaseOrder().size()) return std::nullopt;
  }
  std::stable_sort(acquired.begin(), acquired.end(),
                   [](const std::string& a, const std::string& b) {
                     return ReleasePosition(a) < ReleasePosition(b);
                   });
  return acquired;
}

}  // namespace glimster::reliability
