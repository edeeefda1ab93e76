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
      substitute_host::suiteArgs("AEGP Comp Suite", 14),
      substitute_host::suiteArgs("AEGP Register Suite", 6),
      substitute_host::suiteArgs("AEGP Item Suite", 13),
      substitute_host::suiteArgs("AEGP Item Suite", 10),
      substitute_host::suiteArgs("AEGP Memory Suite", 1),
      substitute_host::suiteArgs("AEGP Command Suite", 1),
      substitute_host::suiteArgs("AEGP Utility Suite", 7),
      substitute_host::suiteArgs("AEGP Render Suite", 2),
      substitute_host::suiteArgs("AEGP World Suite", 2),
      substitute_host::suiteArgs("AEGP Render Options Suite", 2),
  };
  return kOrder;
}

std::size_t ReleasePosition(const std::string& suite) {
  const auto& order = ReleaseOrder();
  return static_cast<std::size_t>(std::find(order.begin(), order.end(), suite) - order.begin());
}

}  // namespace

const char* NameOf(EntryPoint entry) {
  switch (entry) {
    case EntryPoint::Entry:
      return op::EntryPointFunc;
    case EntryPoint::UpdateMenu:
      return op::UpdateMenuHook;
    case EntryPoint::Command:
      return op::CommandHook;
  }
  return "?";
}

bool ResultIgnored(EntryPoint entry, const std::string& op) {
  switch (entry) {
    case EntryPoint::Entry:
      return op == op::ReportInfo;  // the registration failure stays the answer
    case EntryPoint::UpdateMenu:
      return false;
    case EntryPoint::Command:
      // A name that cannot be had is the empty name; it never fails a capture,
      // and neither does the report of a capture that wrote nothing.
      return op == op::GetItemName || op == op::LockMemHandle || op == op::GetMemHandleSize ||
             op == op::ReportInfo;
  }
  return false;
}

bool RefusalEndsTheCall(EntryPoint entry, const std::string& suite) {
  // The report of a capture that wrote nothing is a courtesy: without its
  // suite the capture ends as it would have.
  return !(entry == EntryPoint::Command &&
           suite == substitute_host::suiteArgs("AEGP Utility Suite", 7));
}

A_Err ExpectedCode(EntryPoint entry, const FaultPath& path) {
  const bool suiteRefused = std::any_of(path.begin(), path.end(), [&](const PlantedFault& fault) {
    return fault.at.isAcquire() && RefusalEndsTheCall(entry, fault.at.suite);
  });
  if (suiteRefused) return kMissingSuite;
  for (const PlantedFault& fault : path) {
    if (fault.code != 0 && !fault.at.isAcquire() && !ResultIgnored(entry, fault.at.op)) {
      return fault.code;
    }
  }
  return A_Err_NONE;
}

bool FrameWithheld(EntryPoint entry, const FaultPath& path) {
  if (entry != EntryPoint::Command) return false;
  for (const PlantedFault& fault : path) {
    if (fault.at.isAcquire()) {
      if (RefusalEndsTheCall(entry, fault.at.suite)) return false;
      continue;
    }
    const std::string& step = fault.at.op;
    const bool givesTheFrame = step == op::NewFromItem || step == op::RenderAndCheckoutFrame ||
                               step == op::GetReceiptWorld || step == op::FillOutPFEffectWorld;
    if (givesTheFrame && fault.code == 0 && fault.outputs == substitute_host::Outputs::Cleared) {
      return true;
    }
    if (fault.code != 0 && !ResultIgnored(entry, step)) return false;
  }
  return false;
}

substitute_host::Outstanding KeptByTheHost(const FaultPath& path) {
  substitute_host::Outstanding kept;
  for (const PlantedFault& fault : path) {
    if (fault.outputs != substitute_host::Outputs::Cleared) continue;
    if (fault.at.op == op::Dispose) ++kept.renderOptions;
    if (fault.at.op == op::CheckinFrame) ++kept.frameReceipts;
    if (fault.at.op == op::FreeMemHandle) ++kept.memHandles;
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
