#include "subhost/HostHandles.h"

namespace glimster::subhost {
namespace {

// The one token of `item` in `table`, issued on first use.
void* permanentToken(HandleTable<Item*>& table, Item& item) {
  void* token = table.tokenWhere([&item](Item* held) { return held == &item; });
  return token != nullptr ? token : table.issue(&item);
}

} // namespace

AEGP_ItemH HostHandles::itemHandle(Item& item) {
  return handleOf<AEGP_ItemH>(permanentToken(items, item));
}

AEGP_CompH HostHandles::compHandle(Item& item) {
  return handleOf<AEGP_CompH>(permanentToken(comps, item));
}

} // namespace glimster::subhost
