#include "substitute_host/IssuedHandles.h"

namespace glimster::substitute_host {
namespace {

// The one token of `item` in `table`, issued on first use.
void* PermanentToken(HandleTable<Item*>& table, Item& item) {
  void* token = table.TokenWhere([&item](Item* held) { return held == &item; });
  return token != nullptr ? token : table.issue(&item);
}

}  // namespace

AEGP_ItemH IssuedHandles::ItemHandle(Item& item) {
  return HandleOf<AEGP_ItemH>(PermanentToken(items, item));
}

AEGP_CompH IssuedHandles::CompHandle(Item& item) {
  return HandleOf<AEGP_CompH>(PermanentToken(comps, item));
}

}  // namespace glimster::substitute_host
