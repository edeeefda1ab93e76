// The names under which the call log records calls, and under which faults
// are injected: the host's own operation names for suite operations.
#pragma once

#include <string_view>

namespace glimster::substitute_host::op {

// Basic suite.
inline constexpr char AcquireSuite[] = "AcquireSuite";
inline constexpr char ReleaseSuite[] = "ReleaseSuite";
inline constexpr char IsEqual[] = "IsEqual";
inline constexpr char AllocateBlock[] = "AllocateBlock";
inline constexpr char FreeBlock[] = "FreeBlock";
inline constexpr char ReallocateBlock[] = "ReallocateBlock";
inline constexpr char Undefined[] = "Undefined";
// A slot of an offered suite that the host does not expect to be called.
inline constexpr char UnexpectedSlot[] = "UnexpectedSlot";

// "AEGP Command Suite" 1.
inline constexpr char GetUniqueCommand[] = "AEGP_GetUniqueCommand";
inline constexpr char InsertMenuCommand[] = "AEGP_InsertMenuCommand";
inline constexpr char EnableCommand[] = "AEGP_EnableCommand";
inline constexpr char DisableCommand[] = "AEGP_DisableCommand";
// "AEGP Register Suite" 6.
inline constexpr char RegisterCommandHook[] = "AEGP_RegisterCommandHook";
inline constexpr char RegisterUpdateMenuHook[] = "AEGP_RegisterUpdateMenuHook";
inline constexpr char RegisterDeathHook[] = "AEGP_RegisterDeathHook";
inline constexpr char RegisterIdleHook[] = "AEGP_RegisterIdleHook";
// "AEGP Utility Suite" 7.
inline constexpr char ReportInfo[] = "AEGP_ReportInfo";
// "AEGP Item Suite" 10 and 13.
inline constexpr char GetActiveItem[] = "AEGP_GetActiveItem";
inline constexpr char GetItemType[] = "AEGP_GetItemType";
inline constexpr char GetItemCurrentTime[] = "AEGP_GetItemCurrentTime";
inline constexpr char GetItemName[] = "AEGP_GetItemName";
// "AEGP Comp Suite" 14.
inline constexpr char GetCompFromItem[] = "AEGP_GetCompFromItem";
// "AEGP Render Options Suite" 2.
inline constexpr char NewFromItem[] = "AEGP_NewFromItem";
inline constexpr char Dispose[] = "AEGP_Dispose";
inline constexpr char SetTime[] = "AEGP_SetTime";
inline constexpr char SetWorldType[] = "AEGP_SetWorldType";
inline constexpr char SetDownsampleFactor[] = "AEGP_SetDownsampleFactor";
// "AEGP Render Suite" 2.
inline constexpr char RenderAndCheckoutFrame[] = "AEGP_RenderAndCheckoutFrame";
inline constexpr char CheckinFrame[] = "AEGP_CheckinFrame";
inline constexpr char GetReceiptWorld[] = "AEGP_GetReceiptWorld";
// "AEGP Memory Suite" 1.
inline constexpr char FreeMemHandle[] = "AEGP_FreeMemHandle";
inline constexpr char LockMemHandle[] = "AEGP_LockMemHandle";
inline constexpr char GetMemHandleSize[] = "AEGP_GetMemHandleSize";
// "AEGP World Suite" 2.
inline constexpr char FillOutPFEffectWorld[] = "AEGP_FillOutPFEffectWorld";

// The host calling into the plug-in.
inline constexpr char EntryPointFunc[] = "EntryPointFunc";
inline constexpr char CommandHook[] = "CommandHook";
inline constexpr char UpdateMenuHook[] = "UpdateMenuHook";
inline constexpr char IdleHook[] = "IdleHook";
inline constexpr char DeathHook[] = "DeathHook";

// The suite operations a fault can be injected into: every slot the host offers.
inline constexpr std::string_view kFaultable[] = {
    GetUniqueCommand,
    InsertMenuCommand,
    EnableCommand,
    DisableCommand,
    RegisterCommandHook,
    RegisterUpdateMenuHook,
    RegisterDeathHook,
    RegisterIdleHook,
    ReportInfo,
    GetActiveItem,
    GetItemType,
    GetItemCurrentTime,
    GetItemName,
    GetCompFromItem,
    NewFromItem,
    Dispose,
    SetTime,
    SetWorldType,
    SetDownsampleFactor,
    RenderAndCheckoutFrame,
    CheckinFrame,
    GetReceiptWorld,
    FreeMemHandle,
    LockMemHandle,
    GetMemHandleSize,
    FillOutPFEffectWorld,
};

}  // namespace glimster::substitute_host::op
