#include "substitute_host/suites/ItemLookup.h"

#include "substitute_host/Text.h"

namespace glimster::substitute_host {

Item* ItemOf(Host& host, AEGP_ItemH handle) {
  const auto found = host.handles().items.find(TokenOf(handle));
  return found.record != nullptr ? *found.record : nullptr;
}

std::string DescribeItem(const Item* item) {
  return item != nullptr ? quoted(ToUtf8(item->name)) : "unknown item";
}

std::string DescribeTime(A_Time time) {
  return std::to_string(time.value) + "/" + std::to_string(time.scale);
}

}  // namespace glimster::substitute_host
