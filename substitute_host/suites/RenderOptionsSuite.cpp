// "AEGP Render Options Suite" 2: what to render, at which depth, time and size.
#include "substitute_host/Operations.h"
#include "substitute_host/suites/ItemLookup.h"
#include "substitute_host/suites/SuiteCall.h"
#include "substitute_host/suites/SuiteTables.h"
#include "substitute_host/suites/UnexpectedSlots.h"

namespace glimster::substitute_host {
namespace {

constexpr char kOptions[] = "options";

A_Err NewFromItem(AEGP_PluginID plugin, AEGP_ItemH handle, AEGP_RenderOptionsH* options) {
  return ServeCall(op::kNewFromItem, [&](Host& host) {
    OperationCall call(host, op::kNewFromItem);
    Item* item = ItemOf(host, handle);
    std::string args = "plugin " + std::to_string(plugin) + ", " + DescribeItem(item);
    if (item == nullptr || options == nullptr) {
      return call.misuse(args, item == nullptr ? kUnknownItemHandle : kNullOutParameter);
    }
    if (plugin != host.PluginId()) {
      return call.misuse(args, kForeignPlugin);
    }
    if (item->kind != ItemKind::kComposition) {
      *options = nullptr;
      return call.finish(args, kHostParameterError);
    }
    void* token =
        call.performs()
            ? host.handles().render_options.issue(OptionsRecord{item, host.RenderDefaults()})
            : nullptr;
    *options = HandleOf<AEGP_RenderOptionsH>(token);
    const auto issued = host.handles().render_options.find(token);
    return call.finish(args + " -> " +
                       (token != nullptr ? DescribeHandle(issued, kOptions) : "none"));
  });
}

// Serves an operation on live render options: `change`(host, options) acts
// on them when the call performs.
template <typename Change>
A_Err ChangeOptions(const char* op, AEGP_RenderOptionsH options, const std::string& value,
                    Change&& change) {
  return ServeCall(op, [&](Host& host) {
    OperationCall call(host, op);
    const auto found = host.handles().render_options.find(TokenOf(options));
    const std::string args = DescribeHandle(found, kOptions) + value;
    if (found.record == nullptr) {
      return call.misuse(args, HandleProblem(found.state, "render options"));
    }
    if (call.performs()) {
      change(host, *found.record);
    }
    return call.finish(args);
  });
}

A_Err dispose(AEGP_RenderOptionsH options) {
  return ChangeOptions(op::kDispose, options, "", [&](Host& host, OptionsRecord&) {
    host.handles().render_options.release(TokenOf(options));
  });
}

A_Err SetTime(AEGP_RenderOptionsH options, A_Time time) {
  return ChangeOptions(op::kSetTime, options, ", " + DescribeTime(time),
                       [&](Host&, OptionsRecord& held) { held.settings.time = time; });
}

A_Err SetWorldType(AEGP_RenderOptionsH options, AEGP_WorldType type) {
  return ChangeOptions(op::kSetWorldType, options, ", " + std::to_string(type),
                       [&](Host&, OptionsRecord& held) { held.settings.world_type = type; });
}

A_Err SetDownsampleFactor(AEGP_RenderOptionsH options, A_short x, A_short y) {
  return ChangeOptions(op::kSetDownsampleFactor, options,
                       ", " + std::to_string(x) + "x" + std::to_string(y),
                       [&](Host&, OptionsRecord& held) {
                         held.settings.downsample_x = x;
                         held.settings.downsample_y = y;
                       });
}

}  // namespace

const AEGP_RenderOptionsSuite2& RenderOptionsSuite2() {
  static const AEGP_RenderOptionsSuite2 kSuite = [] {
    auto suite =
        TableOfUnexpectedSlots<OfferedSuiteIndex::kRenderOptions2, AEGP_RenderOptionsSuite2>();
    suite.AEGP_NewFromItem = &NewFromItem;
    suite.AEGP_Dispose = &dispose;
    suite.AEGP_SetTime = &SetTime;
    suite.AEGP_SetWorldType = &SetWorldType;
    suite.AEGP_SetDownsampleFactor = &SetDownsampleFactor;
    return suite;
  }();
  return kSuite;
}

}  // namespace glimster::substitute_host
