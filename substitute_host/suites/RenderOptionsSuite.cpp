// "AEGP Render Options Suite" 2: what to render, at which depth, time and size.
#include "substitute_host/Operations.h"
#include "substitute_host/suites/ItemLookup.h"
#include "substitute_host/suites/SuiteCall.h"
#include "substitute_host/suites/SuiteTables.h"
#include "substitute_host/suites/UnexpectedSlots.h"

namespace glimster::substitute_host {
namespace {

constexpr char kOptions[] = "options";

A_Err newFromItem(AEGP_PluginID plugin, AEGP_ItemH handle, AEGP_RenderOptionsH* options) {
  return serveCall(op::NewFromItem, [&](Host& host) {
    OperationCall call(host, op::NewFromItem);
    Item* item = itemOf(host, handle);
    std::string args = "plugin " + std::to_string(plugin) + ", " + describeItem(item);
    if (item == nullptr || options == nullptr) {
      return call.misuse(args, item == nullptr ? kUnknownItemHandle : kNullOutParameter);
    }
    if (plugin != host.pluginId()) {
      return call.misuse(args, kForeignPlugin);
    }
    if (item->kind != ItemKind::Composition) {
      *options = nullptr;
      return call.finish(args, kHostParameterError);
    }
    void* token =
        call.performs()
            ? host.handles().renderOptions.issue(OptionsRecord{item, host.renderDefaults()})
            : nullptr;
    *options = handleOf<AEGP_RenderOptionsH>(token);
    const auto issued = host.handles().renderOptions.find(token);
    return call.finish(args + " -> " +
                       (token != nullptr ? describeHandle(issued, kOptions) : "none"));
  });
}

// Serves an operation on live render options: `change`(host, options) acts
// on them when the call performs.
template <typename Change>
A_Err changeOptions(const char* op, AEGP_RenderOptionsH options, const std::string& value,
                    Change&& change) {
  return serveCall(op, [&](Host& host) {
    OperationCall call(host, op);
    const auto found = host.handles().renderOptions.find(tokenOf(options));
    const std::string args = describeHandle(found, kOptions) + value;
    if (found.record == nullptr) {
      return call.misuse(args, handleProblem(found.state, "render options"));
    }
    if (call.performs()) {
      change(host, *found.record);
    }
    return call.finish(args);
  });
}

A_Err dispose(AEGP_RenderOptionsH options) {
  return changeOptions(op::Dispose, options, "", [&](Host& host, OptionsRecord&) {
    host.handles().renderOptions.release(tokenOf(options));
  });
}

A_Err setTime(AEGP_RenderOptionsH options, A_Time time) {
  return changeOptions(op::SetTime, options, ", " + describeTime(time),
                       [&](Host&, OptionsRecord& held) { held.settings.time = time; });
}

A_Err setWorldType(AEGP_RenderOptionsH options, AEGP_WorldType type) {
  return changeOptions(op::SetWorldType, options, ", " + std::to_string(type),
                       [&](Host&, OptionsRecord& held) { held.settings.worldType = type; });
}

A_Err setDownsampleFactor(AEGP_RenderOptionsH options, A_short x, A_short y) {
  return changeOptions(op::SetDownsampleFactor, options,
                       ", " + std::to_string(x) + "x" + std::to_string(y),
                       [&](Host&, OptionsRecord& held) {
                         held.settings.downsampleX = x;
                         held.settings.downsampleY = y;
                       });
}

}  // namespace

const AEGP_RenderOptionsSuite2& renderOptionsSuite2() {
  static const AEGP_RenderOptionsSuite2 kSuite = [] {
    auto suite =
        tableOfUnexpectedSlots<OfferedSuiteIndex::RenderOptions2, AEGP_RenderOptionsSuite2>();
    suite.AEGP_NewFromItem = &newFromItem;
    suite.AEGP_Dispose = &dispose;
    suite.AEGP_SetTime = &setTime;
    suite.AEGP_SetWorldType = &setWorldType;
    suite.AEGP_SetDownsampleFactor = &setDownsampleFactor;
    return suite;
  }();
  return kSuite;
}

}  // namespace glimster::substitute_host
