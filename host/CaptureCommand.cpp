// "Take Glimster": renders the active composition's current frame at full
// resolution and 8 bits per channel and writes it to the desktop as a PNG.
#include <cstdint>
#include <ctime>

#include "capture/FailureReport.h"
#include "capture/OutputNaming.h"
#include "capture/PngWriter.h"
#include "host/AEGP_SuiteHandler.h"
#include "host/Glimster.h"
#include "host/HandleOwners.h"
#include "host/HostCallBoundary.h"

namespace glimster {
namespace {

struct Frame {
  RenderOptions options;
  FrameReceipt receipt;
  AEGP_WorldH world = nullptr;

  explicit Frame(AEGP_SuiteHandler& suites) : options(suites), receipt(suites) {}
};

// Renders the item's current frame into `frame`, stopping at the first
// failing step, whose code it gives.
A_Err RenderCurrentFrame(AEGP_SuiteHandler& suites, AEGP_ItemH item, Frame& frame) {
  AEGP_CompH comp = nullptr;  // asked for as the host expects; not needed further
  A_Time current_time = {0, 1};
  A_Err err = suites.CompSuite14()->AEGP_GetCompFromItem(item, &comp);
  if (!err) err = suites.ItemSuite10()->AEGP_GetItemCurrentTime(item, &current_time);
  if (!err)
    err = suites.RenderOptionsSuite2()->AEGP_NewFromItem(S_plugin_id, item, frame.options.out());
  // Options the host did not give cannot be set: without them nothing is rendered.
  if (err || frame.options.get() == nullptr) return err;
  err = suites.RenderOptionsSuite2()->AEGP_SetWorldType(frame.options.get(), AEGP_WorldType_8);
  if (!err) err = suites.RenderOptionsSuite2()->AEGP_SetTime(frame.options.get(), current_time);
  if (!err) err = suites.RenderOptionsSuite2()->AEGP_SetDownsampleFactor(frame.options.get(), 1, 1);
  if (!err) {
    err = suites.RenderSuite2()->AEGP_RenderAndCheckoutFrame(frame.options.get(), nullptr, nullptr,
                                                             frame.receipt.out());
  }
  if (!err && frame.receipt.get() != nullptr) {
    err = suites.RenderSuite2()->AEGP_GetReceiptWorld(frame.receipt.get(), &frame.world);
  }
  return err;
}

// The output path for the item's name, taken now. The name's own queries
// cannot fail the capture: a name that cannot be had is the empty name, and
// one whose size cannot be had is read up to its NUL.
OutputPath OutputPathFor(AEGP_SuiteHandler& suites, AEGP_ItemH item, NameMemory& name) {
  void* name_bytes = nullptr;
  AEGP_MemSize name_size = 0;
  // The suite that frees the name is had first: a name that could not be
  // freed is never asked for.
  const AEGP_MemorySuite1* memory = suites.MemorySuite1();
  suites.ItemSuite13()->AEGP_GetItemName(S_plugin_id, item, name.out());
  if (name.get() != nullptr) {
    // Its code is not looked at: the address decides, and no address is the empty name.
    memory->AEGP_LockMemHandle(name.get(), &name_bytes);
    if (memory->AEGP_GetMemHandleSize(name.get(), &name_size) != A_Err_NONE) {
      name_size = kLongestUsefulNameBytes;
    }
  }
  if (name_bytes == nullptr) name_size = 0;
  return BuildOutputPath(name_bytes, name_size, std::time(nullptr), kNativeNamingPlatform);
}

// Tells the user, through the host's information report, why the capture
// wrote no file. Neither a refused Utility suite nor the report's own
// result changes the capture's outcome.
void ReportFailure(AEGP_SuiteHandler& suites, const CaptureFailure& failure) {
  try {
    suites.UtilitySuite7()->AEGP_ReportInfo(S_plugin_id, FailureReportFor(failure).text);
  } catch (const MissingSuite&) {
  }
}

// Names the rendered frame's file and writes it; gives the code of filling
// out the world. A capture that writes no file says why: in a report, and
// for most failures on standard output too.
A_Err WriteFrame(AEGP_SuiteHandler& suites, AEGP_ItemH item, AEGP_WorldH world, NameMemory& name) {
  const OutputPath output = OutputPathFor(suites, item, name);
  if (output.failure != NamingFailure::kNone) {
    const CaptureFailure failure = NamingFailureOf(output.failure);
    PrintFailureLine(failure);
    if (!output.message_shown) ReportFailure(suites, failure);
    return A_Err_NONE;
  }

  PF_EffectWorld effect_world{};
  const A_Err err = suites.WorldSuite2()->AEGP_FillOutPFEffectWorld(world, &effect_world);
  // The host may describe the pixels even while failing: the address decides.
  if (effect_world.data != nullptr) {
    const ArgbFrame frame{effect_world.width, effect_world.height, effect_world.rowbytes,
                          reinterpret_cast<const std::uint8_t*>(effect_world.data)};
    const unsigned write_code = WriteFrameAsPng(frame, output.path);
    if (write_code != 0) ReportFailure(suites, FailureOfCode(write_code));
  } else if (!err) {
    ReportFailure(suites, FailureOfCode(kNoFrame));
  }
  return err;
}

A_Err Capture(AEGP_SuiteHandler& suites, AEGP_ItemH item, A_Err err, A_Boolean* handledPB) {
  Frame frame(suites);
  NameMemory name(suites);
  if (!err) err = RenderCurrentFrame(suites, item, frame);
  // Only a world the host gave without error is a frame: one a failing step
  // still wrote is not.
  if (!err && frame.world != nullptr) {
    err = WriteFrame(suites, item, frame.world, name);
  } else if (!err) {
    ReportFailure(suites, FailureOfCode(kNoFrame));  // a success without options, receipt or world
  }

  // Given back in this order; a failure here is reported only if nothing failed before.
  const A_Err free_err = name.Release();
  const A_Err dispose_err = frame.options.Release();
  const A_Err checkin_err = frame.receipt.Release();
  for (const A_Err cleanup_err : {free_err, dispose_err, checkin_err}) {
    if (!err) err = cleanup_err;
  }
  if (handledPB != nullptr) *handledPB = true;
  return err;
}

}  // namespace
}  // namespace glimster

A_Err CommandHook(AEGP_GlobalRefcon, AEGP_CommandRefcon, AEGP_Command command, AEGP_HookPriority,
                  A_Boolean, A_Boolean* handledPB) {
  return glimster::GuardHostCall([&] {
    glimster::AEGP_SuiteHandler suites(glimster::sP);
    if (command != glimster::S_capture_cmd) return A_Err_NONE;

    AEGP_ItemH item = nullptr;
    A_Err err = suites.ItemSuite10()->AEGP_GetActiveItem(&item);
    if (err || item == nullptr) return err;

    AEGP_ItemType item_type = AEGP_ItemType_NONE;
    err = suites.ItemSuite10()->AEGP_GetItemType(item, &item_type);
    if (item_type != AEGP_ItemType_COMP) return err;
    return glimster::Capture(suites, item, err, handledPB);
  });
}
