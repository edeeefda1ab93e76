// "AEGP Render Suite" 2: rendered frames, checked out and in.
#include "substitute_host/Operations.h"
#include "substitute_host/suites/ItemLookup.h"
#include "substitute_host/suites/SuiteCall.h"
#include "substitute_host/suites/SuiteTables.h"
#include "substitute_host/suites/UnexpectedSlots.h"

namespace glimster::substitute_host {
namespace {

constexpr char kReceipt[] = "receipt";

std::string describeSettings(const RenderSettings& settings) {
  return "world type " + std::to_string(settings.worldType) + ", time " +
         describeTime(settings.time) + ", downsample " + std::to_string(settings.downsampleX) +
         "x" + std::to_string(settings.downsampleY);
}

// Renders the options' composition: its stored frame, whatever the settings
// (which renders() records for the tests to judge).
A_Err renderAndCheckoutFrame(AEGP_RenderOptionsH options, AEGP_RenderCancelCallback cancel,
                             AEGP_CancelRefcon cancelRefcon, AEGP_FrameReceiptH* receipt) {
  return serveCall(op::RenderAndCheckoutFrame, [&](Host& host) {
    OperationCall call(host, op::RenderAndCheckoutFrame);
    const auto found = host.handles().renderOptions.find(tokenOf(options));
    std::string args = describeHandle(found, "options");
    if (found.record == nullptr) {
      return call.misuse(args, handleProblem(found.state, "render options"));
    }
    if (receipt == nullptr) {
      return call.misuse(args, kNullOutParameter);
    }
    const OptionsRecord& held = *found.record;
    args += " (" + describeSettings(held.settings) + ")";
    host.recordRender(
        RenderRequest{held.item->name, held.settings, cancel != nullptr, cancelRefcon != nullptr});
    void* token = call.performs()
                      ? host.handles().receipts.issue(ReceiptRecord{held.item, *held.item->frame})
                      : nullptr;
    *receipt = handleOf<AEGP_FrameReceiptH>(token);
    const auto issued = host.handles().receipts.find(token);
    return call.finish(args + " -> " +
                       (token != nullptr ? describeHandle(issued, kReceipt) : "none"));
  });
}

A_Err checkinFrame(AEGP_FrameReceiptH receipt) {
  return serveCall(op::CheckinFrame, [&](Host& host) {
    OperationCall call(host, op::CheckinFrame);
    const auto found = host.handles().receipts.find(tokenOf(receipt));
    const std::string args = describeHandle(found, kReceipt);
    if (found.record == nullptr) {
      return call.misuse(args, handleProblem(found.state, "frame receipt"));
    }
    if (call.performs()) {
      host.handles().receipts.release(tokenOf(receipt));
    }
    return call.finish(args);
  });
}

A_Err getReceiptWorld(AEGP_FrameReceiptH receipt, AEGP_WorldH* world) {
  return serveCall(op::GetReceiptWorld, [&](Host& host) {
    OperationCall call(host, op::GetReceiptWorld);
    const auto found = host.handles().receipts.find(tokenOf(receipt));
    const std::string args = describeHandle(found, kReceipt);
    if (found.record == nullptr) {
      return call.misuse(args, handleProblem(found.state, "frame receipt"));
    }
    if (world == nullptr) {
      return call.misuse(args, kNullOutParameter);
    }
    void* token = call.performs() ? host.handles().worlds.issue(tokenOf(receipt)) : nullptr;
    *world = handleOf<AEGP_WorldH>(token);
    return call.finish(args + " -> " + (token != nullptr ? "world" : "none"));
  });
}

}  // namespace

const AEGP_RenderSuite2& renderSuite2() {
  static const AEGP_RenderSuite2 kSuite = [] {
    auto suite = tableOfUnexpectedSlots<OfferedSuiteIndex::Render2, AEGP_RenderSuite2>();
    suite.AEGP_RenderAndCheckoutFrame = &renderAndCheckoutFrame;
    suite.AEGP_CheckinFrame = &checkinFrame;
    suite.AEGP_GetReceiptWorld = &getReceiptWorld;
    return suite;
  }();
  return kSuite;
}

}  // namespace glimster::substitute_host
