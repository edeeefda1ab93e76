// The names under which the call log records calls, and under which faults
// are injected: the host's own operation names for suite operations.
#pragma once

#include <string_view>

namespace glimster::substitute_host::op {

// Basic suite.
inline constexpr char kAcquireSuite[] = "AcquireSuite";
inline constexpr char kReleaseSuite[] = "ReleaseSuite";
inline constexpr char kIsEqual[] = "IsEqual";
inline constexpr char kAllocateBlock[] = "AllocateBlock";
inline constexpr char kFreeBlock[] = "FreeBlock";
inline constexpr char kReallocateBlock[] = "ReallocateBlock";
inline constexpr char kUndefined[] = "Undefined";
// A slot of an offered suite that the host does not expect to be called.
inline constexpr char kUnexpectedSlot[] = "UnexpectedSlot";

// "AEGP Command Suite" 1.
inline constexpr char kGetUniqueCommand[] = "AEGP_GetUniqueCommand";
inline constexpr char kInsertMenuCommand[] = "AEGP_InsertMenuCommand";
inline constexpr char kEnableCommand[] = "AEGP_EnableCommand";
inline constexpr char kDisableCommand[] = "AEGP_DisableCommand";
// "AEGP Register Suite" 6.
inline constexpr char kRegisterCommandHook[] = "AEGP_RegisterCommandHook";
inline constexpr char kRegisterUpdateMenuHook[] = "AEGP_RegisterUpdateMenuHook";
inline constexpr char kRegisterDeathHook[] = "AEGP_RegisterDeathHook";
inline constexpr char kRegisterIdleHook[] = "AEGP_RegisterIdleHook";
// "AEGP Utility Suite" 7.
inline constexpr char kReportInfo[] = "AEGP_ReportInfo";
// "AEGP Item Suite" 10 and 13.
inline constexpr char kGetActiveItem[] = "AEGP_GetActiveItem";
inline constexpr char kGetItemType[] = "AEGP_GetItemType";
inline constexpr char kGetItemCurrentTime[] = "AEGP_GetItemCurrentTime";
inline constexpr char kGetItemName[] = "AEGP_GetItemName";
// "AEGP Comp Suite" 14.
inline constexpr char kGetCompFromItem[] = "AEGP_GetCompFromItem";
// "AEGP Render Options Suite" 2.
inline constexpr char kNewFromItem[] = "AEGP_NewFromItem";
inline constexpr char kDispose[] = "AEGP_Dispose";
inline constexpr char kSetTime[] = "AEGP_SetTime";
inline constexpr char kSetWorldType[] = "AEGP_SetWorldType";
inline constexpr char kSetDownsampleFactor[] = "AEGP_SetDownsampleFactor";
// "AEGP Render Suite" 2.
inline constexpr char kRenderAndCheckoutFrame[] = "AEGP_RenderAndCheckoutFrame";
inline constexpr char kCheckinFrame[] = "AEGP_CheckinFrame";
inline constexpr char kGetReceiptWorld[] = "AEGP_GetReceiptWorld";
// "AEGP Memory Suite" 1.
inline constexpr char kFreeMemHandle[] = "AEGP_FreeMemHandle";
inline constexpr char kLockMemHandle[] = "AEGP_LockMemHandle";
inline constexpr char kGetMemHandleSize[] = "AEGP_GetMemHandleSize";
// "AEGP World Suite" 2.
inline constexpr char kFillOutPfEffectWorld[] = "AEGP_FillOutPFEffectWorld";

// The host calling into the plug-in.
inline constexpr char kEntryPointFunc[] = "EntryPointFunc";
inline constexpr char kCommandHook[] = "CommandHook";
inline constexpr char kUpdateMenuHook[] = "UpdateMenuHook";
inline constexpr char kIdleHook[] = "IdleHook";
inline constexpr char kDeathHook[] = "DeathHook";

// The suite operations a fault can be injected into: every slot the host offers.
inline constexpr std::string_view kFaultable[] = {
    kGetUniqueCommand,
    kInsertMenuCommand,
    kEnableCommand,
    kDisableCommand,
    kRegisterCommandHook,
    kRegisterUpdateMenuHook,
    kRegisterDeathHook,
    kRegisterIdleHook,
    kReportInfo,
    kGetActiveItem,
    kGetItemType,
    kGetItemCurrentTime,
    kGetItemName,
    kGetCompFromItem,
    kNewFromItem,
    kDispose,
    kSetTime,
    kSetWorldType,
    kSetDownsampleFactor,
    kRenderAndCheckoutFrame,
    kCheckinFrame,
    kGetReceiptWorld,
    kFreeMemHandle,
    kLockMemHandle,
    kGetMemHandleSize,
    kFillOutPfEffectWorld,
};

}  // namespace glimster::substitute_host::op
