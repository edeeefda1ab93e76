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

A_Err GetActiveItem(AEGP_ItemH* item) {
  return ServeCall(op::kGetActiveItem, [&](Host& host) {
    OperationCall call(host, op::kGetActiveItem);
    if (item == nullptr) {
      return call.misuse("", kNullOutParameter);
    }
    Item* active = call.performs() ? host.project().active() : nullptr;
    *item = active != nullptr ? host.handles().ItemHandle(*active) : nullptr;
    return call.finish("-> " + (active != nullptr ? DescribeItem(active) : std::string("none")));
  });
}

A_Err GetItemType(AEGP_ItemH handle, AEGP_ItemType* type) {
  return ServeCall(op::kGetItemType, [&](Host& host) {
    OperationCall call(host, op::kGetItemType);
    Item* item = ItemOf(host, handle);
    std::string args = DescribeItem(item);
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

A_Err GetItemCurrentTime(AEGP_ItemH handle, A_Time* time) {
  return ServeCall(op::kGetItemCurrentTime, [&](Host& host) {
    OperationCall call(host, op::kGetItemCurrentTime);
    Item* item = ItemOf(host, handle);
    std::string args = DescribeItem(item);
    if (item == nullptr || time == nullptr) {
      return call.misuse(args, item == nullptr ? kUnknownItemHandle : kNullOutParameter);
    }
    *time = call.performs() ? item->current_time : A_Time{0, 0};
    return call.finish(args + " -> " + DescribeTime(*time));
  });
}

// The name as NUL-terminated UTF-16, little-endian as the host's memory holds it.
std::vector<std::uint8_t> Utf16Bytes(const std::u16string& name) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve((name.size() + 1) * 2);
  for (const char16_t unit : name) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

A_Err GetItemName(AEGP_PluginID plugin, AEGP_ItemH handle, AEGP_MemHandle* name) {
  return ServeCall(op::kGetItemName, [&](Host& host) {
    OperationCall call(host, op::kGetItemName);
    Item* item = ItemOf(host, handle);
    std::string args = "plugin " + std::to_string(plugin) + ", " + DescribeItem(item);
    if (item == nullptr || name == nullptr) {
      return call.misuse(args, item == nullptr ? kUnknownItemHandle : kNullOutParameter);
    }
    if (plugin != host.PluginId()) {
      return call.misuse(args, kForeignPlugin);
    }
    *name = nullptr;
    if (call.performs()) {
      *name =
          HandleOf<AEGP_MemHandle>(host.handles().memory.issue(MemBlock{Utf16Bytes(item->name)}));
    }
    const auto issued = host.handles().memory.find(TokenOf(*name));
    return call.finish(args + " -> " + (*name != nullptr ? DescribeHandle(issued, "mem") : "none"));
  });
}

}  // namespace

const AEGP_ItemSuite10& ItemSuite10() {
  static const AEGP_ItemSuite10 kSuite = [] {
    auto suite = TableOfUnexpectedSlots<OfferedSuiteIndex::kItem10, AEGP_ItemSuite10>();
    suite.AEGP_GetActiveItem = &GetActiveItem;
    suite.AEGP_GetItemType = &GetItemType;
    suite.AEGP_GetItemCurrentTime = &GetItemCurrentTime;
    return suite;
  }();
  return kSuite;
}

const AEGP_ItemSuite13& ItemSuite13() {
  static const AEGP_ItemSuite13 kSuite = [] {
    auto suite = TableOfUnexpectedSlots<OfferedSuiteIndex::kItem13, AEGP_ItemSuite13>();
    suite.AEGP_GetActiveItem = &GetActiveItem;
    suite.AEGP_GetItemType = &GetItemType;
    suite.AEGP_GetItemCurrentTime = &GetItemCurrentTime;
    suite.AEGP_GetItemName = &GetItemName;
    return suite;
  }();
  return kSuite;
}

}  // namespace glimster::substitute_host
