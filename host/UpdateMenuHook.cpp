#include "host/AEGP_SuiteHandler.h"
#include "host/Glimster.h"
#include "host/HostCallBoundary.h"

A_Err UpdateMenuHook(AEGP_GlobalRefcon, AEGP_UpdateMenuRefcon, AEGP_WindowType) {
  return glimster::GuardHostCall([] {
    glimster::AEGP_SuiteHandler suites(glimster::sP);
    AEGP_ItemH active_item = nullptr;
    A_Err err = suites.ItemSuite10()->AEGP_GetActiveItem(&active_item);

    if (active_item == nullptr) {
      // Disabled even when the query failed; the query's failure is the answer then.
      const A_Err disable_err =
          suites.CommandSuite1()->AEGP_DisableCommand(glimster::S_capture_cmd);
      return err ? err : disable_err;
    }

    // Something is active: only a composition changes the command's state.
    AEGP_ItemType item_type = AEGP_ItemType_NONE;
    if (!err) err = suites.ItemSuite10()->AEGP_GetItemType(active_item, &item_type);
    if (!err && item_type == AEGP_ItemType_COMP) {
      err = suites.CommandSuite1()->AEGP_EnableCommand(glimster::S_capture_cmd);
    }
    return err;
  });
}
