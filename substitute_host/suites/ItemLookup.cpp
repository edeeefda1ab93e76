#include "substitute_host/suites/ItemLookup.h"

#include "substitute_host/Text.h"

namespace glimster::substitute_host {

Item* itemOf(Host& host, AEGP_ItemH handle) {
  const auto found = host.handles().items.find(tokenOf(handle));
  return found.record != nullptr ? *found.record : nullptr;
}

std::string describeItem(const Item* item) {
  return item != nullptr ? quoted(toUtf8(item->name)) : "unknown item";
}

std::string describeTime(A_Time time) {
  return std::to_string(time.value) + "/" + std::to_string(time.scale);
}

}  // namespace glimster::substitute_host
