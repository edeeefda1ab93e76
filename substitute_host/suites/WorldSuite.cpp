// "AEGP World Suite" 2: a rendered frame described as an effect world.
#include "substitute_host/Operations.h"
#include "substitute_host/suites/SuiteCall.h"
#include "substitute_host/suites/SuiteTables.h"
#include "substitute_host/suites/UnexpectedSlots.h"

#include <cstring>

namespace glimster::substitute_host {
namespace {

// The effect world record of a frame: its pixels, stride and size, the whole
// frame as extent, square pixels; every other field zero.
PF_EffectWorld EffectWorldOf(Frame& frame) {
  PF_EffectWorld world;
  std::memset(&world, 0, sizeof world);
  world.data = frame.data();
  world.rowbytes = frame.RowBytes();
  world.width = frame.width();
  world.height = frame.height();
  world.extent_hint = PF_LRect{0, 0, frame.width(), frame.height()};
  world.pix_aspect_ratio = PF_RationalScale{1, 1};
  return world;
}

A_Err FillOutPfEffectWorld(AEGP_WorldH world, PF_EffectWorld* record) {
  return ServeCall(op::kFillOutPfEffectWorld, [&](Host& host) {
    OperationCall call(host, op::kFillOutPfEffectWorld);
    const auto found_world = host.handles().worlds.find(TokenOf(world));
    if (found_world.record == nullptr) {
      return call.misuse(DescribeHandle(found_world, "world"),
                         HandleProblem(found_world.state, "world"));
    }
    const auto receipt = host.handles().receipts.find(*found_world.record);
    const std::string args = "world of " + DescribeHandle(receipt, "receipt");
    if (receipt.record == nullptr) {
      return call.misuse(args, "the world of a frame already checked in");
    }
    if (record == nullptr) {
      return call.misuse(args, kNullOutParameter);
    }
    Frame& frame = receipt.record->frame;
    if (call.performs()) {
      *record = EffectWorldOf(frame);
    } else {
      std::memset(record, 0, sizeof *record);
    }
    return call.finish(args + " -> " + std::to_string(record->width) + "x" +
                       std::to_string(record->height) + ", rowbytes " +
                       std::to_string(record->rowbytes));
  });
}

}  // namespace

const AEGP_WorldSuite2& WorldSuite2() {
  static const AEGP_WorldSuite2 kSuite = [] {
    auto suite = TableOfUnexpectedSlots<OfferedSuiteIndex::kWorld2, AEGP_WorldSuite2>();
    suite.AEGP_FillOutPFEffectWorld = &FillOutPfEffectWorld;
    return suite;
  }();
  return kSuite;
}

}  // namespace glimster::substitute_host
