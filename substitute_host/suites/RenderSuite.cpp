// "AEGP Render Suite" 2: rendered frames, checked out and in.
#include "substitute_host/Operations.h"
#include "substitute_host/suites/ItemLookup.h"
#include "substitute_host/suites/SuiteCall.h"
#include "substitute_host/suites/SuiteTables.h"
#include "substitute_host/suites/UnexpectedSlots.h"

namespace glimster::substitute_host {
namespace {

constexpr char kReceipt[] = "receipt";

std::string DescribeSettings(const RenderSettings& settings) {
  return "world type " + std::to_string(settings.world_type) + ", time " +
         DescribeTime(settings.time) + ", downsample " + std::to_string(settings.downsample_x) +
         "x" + std::to_string(settings.downsample_y);
}

// Renders the options' composition: its stored frame, whatever the settings
// (which renders() records for the tests to judge).
A_Err RenderAndCheckoutFrame(AEGP_RenderOptionsH options, AEGP_RenderCancelCallback cancel,
                             AEGP_CancelRefcon cancel_refcon, AEGP_FrameReceiptH* receipt) {
  return ServeCall(op::kRenderAndCheckoutFrame, [&](Host& host) {
    OperationCall call(host, op::kRenderAndCheckoutFrame);
    const auto found = host.handles().render_options.find(TokenOf(options));
    std::string args = DescribeHandle(found, "options");
    if (found.record == nullptr) {
      return call.misuse(args, HandleProblem(found.state, "render options"));
    }
    if (receipt == nullptr) {
      return call.misuse(args, kNullOutParameter);
    }
    const OptionsRecord& held = *found.record;
    args += " (" + DescribeSettings(held.settings) + ")";
    host.RecordRender(
        RenderRequest{held.item->name, held.settings, cancel != nullptr, cancel_refcon != nullptr});
    void* token = call.performs()
                      ? host.handles().receipts.issue(ReceiptRecord{held.item, *held.item->frame})
                      : nullptr;
    *receipt = HandleOf<AEGP_FrameReceiptH>(token);
    const auto issued = host.handles().receipts.find(token);
    return call.finish(args + " -> " +
                       (token != nullptr ? DescribeHandle(issued, kReceipt) : "none"));
  });
}

A_Err CheckinFrame(AEGP_FrameReceiptH receipt) {
  return ServeCall(op::kCheckinFrame, [&](Host& host) {
    OperationCall call(host, op::kCheckinFrame);
    const auto found = host.handles().receipts.find(TokenOf(receipt));
    const std::string args = DescribeHandle(found, kReceipt);
    if (found.record == nullptr) {
      return call.misuse(args, HandleProblem(found.state, "frame receipt"));
    }
    if (call.performs()) {
      host.handles().receipts.release(TokenOf(receipt));
    }
    return call.finish(args);
  });
}

A_Err GetReceiptWorld(AEGP_FrameReceiptH receipt, AEGP_WorldH* world) {
  return ServeCall(op::kGetReceiptWorld, [&](Host& host) {
    OperationCall call(host, op::kGetReceiptWorld);
    const auto found = host.handles().receipts.find(TokenOf(receipt));
    const std::string args = DescribeHandle(found, kReceipt);
    if (found.record == nullptr) {
      return call.misuse(args, HandleProblem(found.state, "frame receipt"));
    }
    if (world == nullptr) {
      return call.misuse(args, kNullOutParameter);
    }
    void* token = call.performs() ? host.handles().worlds.issue(TokenOf(receipt)) : nullptr;
    *world = HandleOf<AEGP_WorldH>(token);
    return call.finish(args + " -> " + (token != nullptr ? "world" : "none"));
  });
}

}  // namespace

const AEGP_RenderSuite2& RenderSuite2() {
  static const AEGP_RenderSuite2 kSuite = [] {
    auto suite = TableOfUnexpectedSlots<OfferedSuiteIndex::kRender2, AEGP_RenderSuite2>();
    suite.AEGP_RenderAndCheckoutFrame = &RenderAndCheckoutFrame;
    suite.AEGP_CheckinFrame = &CheckinFrame;
    suite.AEGP_GetReceiptWorld = &GetReceiptWorld;
    return suite;
  }();
  return kSuite;
}

}  // namespace glimster::substitute_host
