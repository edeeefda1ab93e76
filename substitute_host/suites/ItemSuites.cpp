// "AEGP Item Suite" 10 and 13: the active item, its type, time and name.
// Both versions serve the same operations; only 13 has the UTF-16 name.
#include "substitute_host/Operations.h"
#include "substitute_host/suites/ItemLookup.h"
#include "substitute_host/suites/SuiteCall.h"
#include "substitute_host/suites/SuiteTables.h"
#include "substitute_host/suites/UnexpectedSlots.h"

#include <cstdint>
#include <vector>

namespace glimster::substitute_host {
namespace {

A_Err getActiveItem(AEGP_ItemH* item) {
  return serveCall(op::GetActiveItem, [&](Host& host) {
    OperationCall call(host, op::GetActiveItem);
    if (item == nullptr) {
      return call.misuse("", kNullOutParameter);
    }
    Item* active = call.performs() ? host.project().active() : nullptr;
    *item = active != nullptr ? host.handles().itemHandle(*active) : nullptr;
    return call.finish("-> " + (active != nullptr ? describeItem(active) : std::string("none")));
  });
}

A_Err getItemType(AEGP_ItemH handle, AEGP_ItemType* type) {
  return serveCall(op::GetItemType, [&](Host& host) {
    OperationCall call(host, op::GetItemType);
    Item* item = itemOf(host, handle);
    std::string args = describeItem(item);
    if (item == nullptr || type == nullptr) {
      return call.misuse(args, item == nullptr ? kUnknownItemHandle : kNullOutParameter);
    }
    *type = AEGP_ItemType_NONE;
    if (call.performs()) {
      *type = static_cast<AEGP_ItemType>(item->kind);
    }
    return call.finish(args + " -> " + std::to_string(*type));
  });
}

A_Err getItemCurrentTime(AEGP_ItemH handle, A_Time* time) {
  return serveCall(op::GetItemCurrentTime, [&](Host& host) {
    OperationCall call(host, op::GetItemCurrentTime);
    Item* item = itemOf(host, handle);
    std::string args = describeItem(item);
    if (item == nullptr || time == nullptr) {
      return call.misuse(args, item == nullptr ? kUnknownItemHandle : kNullOutParameter);
    }
    *time = call.performs() ? item->currentTime : A_Time{0, 0};
    return call.finish(args + " -> " + describeTime(*time));
  });
}

// The name as NUL-terminated UTF-16, little-endian as the host's memory holds it.
std::vector<std::uint8_t> utf16Bytes(const std::u16string& name) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve((name.size() + 1) * 2);
  for (const char16_t unit : name) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

A_Err getItemName(AEGP_PluginID plugin, AEGP_ItemH handle, AEGP_MemHandle* name) {
  return serveCall(op::GetItemName, [&](Host& host) {
    OperationCall call(host, op::GetItemName);
    Item* item = itemOf(host, handle);
    std::string args = "plugin " + std::to_string(plugin) + ", " + describeItem(item);
    if (item == nullptr || name == nullptr) {
      return call.misuse(args, item == nullptr ? kUnknownItemHandle : kNullOutParameter);
    }
    if (plugin != host.pluginId()) {
      return call.misuse(args, kForeignPlugin);
    }
    *name = nullptr;
    if (call.performs()) {
      *name =
          handleOf<AEGP_MemHandle>(host.handles().memory.issue(MemBlock{utf16Bytes(item->name)}));
    }
    const auto issued = host.handles().memory.find(tokenOf(*name));
    return call.finish(args + " -> " + (*name != nullptr ? describeHandle(issued, "mem") : "none"));
  });
}

}  // namespace

const AEGP_ItemSuite10& itemSuite10() {
  static const AEGP_ItemSuite10 kSuite = [] {
    auto suite = tableOfUnexpectedSlots<OfferedSuiteIndex::Item10, AEGP_ItemSuite10>();
    suite.AEGP_GetActiveItem = &getActiveItem;
    suite.AEGP_GetItemType = &getItemType;
    suite.AEGP_GetItemCurrentTime = &getItemCurrentTime;
    return suite;
  }();
  return kSuite;
}

const AEGP_ItemSuite13& itemSuite13() {
  static const AEGP_ItemSuite13 kSuite = [] {
    auto suite = tableOfUnexpectedSlots<OfferedSuiteIndex::Item13, AEGP_ItemSuite13>();
    suite.AEGP_GetActiveItem = &getActiveItem;
    suite.AEGP_GetItemType = &getItemType;
    suite.AEGP_GetItemCurrentTime = &getItemCurrentTime;
    suite.AEGP_GetItemName = &getItemName;
    return suite;
  }();
  return kSuite;
}

}  // namespace glimster::substitute_host
