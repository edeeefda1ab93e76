// The handles the host has given the plug-in and the records behind them.
#pragma once

#include "host/AE_HostInterface.h"
#include "substitute_host/Frame.h"
#include "substitute_host/HandleTable.h"
#include "substitute_host/Project.h"

#include <cstdint>
#include <string>
#include <vector>

namespace glimster::substitute_host {

// How a frame is to be rendered.
struct RenderSettings {
  AEGP_WorldType world_type;
  A_Time time;
  A_short downsample_x;
  A_short downsample_y;
};

// What render options made by AEGP_NewFromItem hold.
struct OptionsRecord {
  Item* item;
  RenderSettings settings;
};

// A checked-out frame: the composition's pixels as they were at the render.
struct ReceiptRecord {
  Item* item;
  Frame frame;
};

// The bytes behind a memory handle.
struct MemBlock {
  std::vector<std::uint8_t> bytes;
};

struct IssuedHandles {
  HandleTable<Item*> items;  // one handle per item, issued on first use, never released
  HandleTable<Item*> comps;  // one handle per composition, likewise
  HandleTable<OptionsRecord> render_options;
  HandleTable<ReceiptRecord> receipts;
  HandleTable<const void*> worlds;  // each world names the token of its receipt
  HandleTable<MemBlock> memory;

  // The item's handle.
  AEGP_ItemH ItemHandle(Item& item);
  // The composition handle of a composition item.
  AEGP_CompH CompHandle(Item& item);
};

// The token behind a typed host handle, and back.
template <typename Handle>
const void* TokenOf(Handle handle) {
  return static_cast<const void*>(handle);
}
template <typename Handle>
Handle HandleOf(void* token) {
  return reinterpret_cast<Handle>(token);
}

}  // namespace glimster::substitute_host
