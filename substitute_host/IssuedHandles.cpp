#include "substitute_host/IssuedHandles.h"

namespace glimster::substitute_host {
namespace {

// The one token of `item` in `table`, issued on first use.
void* permanentToken(HandleTable<Item*>& table, Item& item) {
  void* token = table.tokenWhere([&item](Item* held) { return held == &item; });
  return token != nullptr ? token : table.issue(&item);
}

}  // namespace

AEGP_ItemH IssuedHandles::itemHandle(Item& item) {
  return handleOf<AEGP_ItemH>(permanentToken(items, item));
}

AEGP_CompH IssuedHandles::compHandle(Item& item) {
  return handleOf<AEGP_CompH>(permanentToken(comps, item));
}

}  // namespace glimster::substitute_host
