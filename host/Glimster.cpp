#include "host/Glimster.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/Glimster_Strings.h"
#include "host/HostCallBoundary.h"

namespace glimster {

SPBasicSuite* sP = nullptr;
AEGP_PluginID S_plugin_id = 0;
AEGP_Command S_capture_cmd = 0;

namespace {

// Obtains the command, puts it last in the Composition menu and registers the
// hooks, stopping at the first failure, whose code it gives.
A_Err Register(AEGP_SuiteHandler& suites) {
  A_Err err = suites.CommandSuite1()->AEGP_GetUniqueCommand(&S_capture_cmd);
  if (!err) {
    err = suites.CommandSuite1()->AEGP_InsertMenuCommand(
        S_capture_cmd, GetStringPtr(StringRow::kName),
        static_cast<AEGP_MenuID>(AEGP_Menu_COMPOSITION), AEGP_MENU_INSERT_AT_BOTTOM);
  }
  if (!err) {
    err = suites.RegisterSuite6()->AEGP_RegisterCommandHook(S_plugin_id, AEGP_HP_BeforeAE, 0,
                                                            CommandHook, nullptr);
  }
  if (!err) err = suites.RegisterSuite6()->AEGP_RegisterDeathHook(S_plugin_id, DeathHook, nullptr);
  if (!err) {
    err =
        suites.RegisterSuite6()->AEGP_RegisterUpdateMenuHook(S_plugin_id, UpdateMenuHook, nullptr);
  }
  if (!err) err = suites.RegisterSuite6()->AEGP_RegisterIdleHook(S_plugin_id, IdleHook, nullptr);
  return err;
}

}  // namespace

}  // namespace glimster

A_Err EntryPointFunc(SPBasicSuite* pica_basicP, A_long /*major_versionL*/,
                     A_long /*minor_versionL*/, AEGP_PluginID aegp_plugin_id,
                     AEGP_GlobalRefcon* /*global_refconP*/) {
  glimster::sP = pica_basicP;
  glimster::S_plugin_id = aegp_plugin_id;
  return glimster::GuardHostCall([] {
    glimster::AEGP_SuiteHandler suites(glimster::sP);
    const A_Err err = glimster::Register(suites);
    if (err) {
      // The report's own result is ignored: the registration failure is the answer.
      suites.UtilitySuite7()->AEGP_ReportInfo(
          glimster::S_plugin_id, glimster::GetStringPtr(glimster::StringRow::kGenericError));
    }
    return err;
  });
}

A_Err DeathHook(AEGP_GlobalRefcon, AEGP_DeathRefcon) { return A_Err_NONE; }

A_Err IdleHook(AEGP_GlobalRefcon, AEGP_IdleRefcon, A_long*) { return A_Err_NONE; }
