// The host's general plug-in interface, declared from its published binary
// layout: scalar widths, the basic suite directory, the ten suites the
// plug-in calls, the hook signatures and the effect world record.
//
// Every suite is a table of function pointers in the host's slot order. A slot
// the plug-in never calls is still declared (as an unused, pointer-sized slot)
// so that every later slot sits at the host's offset. The static_asserts at the
// end pin sizes and offsets; change nothing here without the layout changing.
//
// Threading: the host calls the entry and every hook on its own main thread,
// one call at a time; every suite operation below is called on that thread.
#pragma once

#include <cstddef>
#include <cstdint>

// The host's own names, as its interface has them.
// NOLINTBEGIN(readability-identifier-naming)

extern "C" {

// ---- Scalars ---------------------------------------------------------------

typedef int32_t A_long;
typedef uint32_t A_u_long;
typedef int16_t A_short;
typedef char A_char;
typedef uint8_t A_Boolean;
typedef uint16_t A_UTF16Char;
typedef A_long A_Err;

typedef A_long AEGP_PluginID;
typedef A_long AEGP_Command;
typedef A_long AEGP_WorldType;
typedef A_long PF_WorldFlags;
typedef A_long AEGP_MemFlag;
typedef A_u_long AEGP_HookPriority;
typedef A_u_long AEGP_MemSize;
typedef A_short AEGP_ItemType;

// The host's legacy enum width differs per platform.
#ifdef _WIN32
typedef A_long AEGP_LegacyEnum;
typedef int32_t SPBoolean;
#else
typedef A_char AEGP_LegacyEnum;
typedef uint8_t SPBoolean;
#endif
typedef AEGP_LegacyEnum AEGP_MenuID;
typedef AEGP_LegacyEnum AEGP_WindowType;
typedef int32_t SPErr;

// Handles: pointer to pointer to a distinct opaque struct.
typedef struct _AEGP_Item** AEGP_ItemH;
typedef struct _AEGP_Comp** AEGP_CompH;
typedef struct _AEGP_RenderOptions** AEGP_RenderOptionsH;
typedef struct _AEGP_FrameReceipt** AEGP_FrameReceiptH;
typedef struct _AEGP_World** AEGP_WorldH;
typedef struct _AEGP_MemHandle** AEGP_MemHandle;

// Refcons: pointer to a distinct opaque struct.
typedef struct _AEGP_GlobalRefcon* AEGP_GlobalRefcon;
typedef struct _AEGP_CommandRefcon* AEGP_CommandRefcon;
typedef struct _AEGP_UpdateMenuRefcon* AEGP_UpdateMenuRefcon;
typedef struct _AEGP_DeathRefcon* AEGP_DeathRefcon;
typedef struct _AEGP_IdleRefcon* AEGP_IdleRefcon;
typedef struct _AEGP_CancelRefcon* AEGP_CancelRefcon;

// ---- Constants -------------------------------------------------------------

enum : AEGP_ItemType {
  AEGP_ItemType_NONE = 0,
  AEGP_ItemType_FOLDER = 1,
  AEGP_ItemType_COMP = 2,
  AEGP_ItemType_FOOTAGE = 4,
};
enum : AEGP_WorldType { AEGP_WorldType_8 = 1 };
enum : A_long { AEGP_Menu_COMPOSITION = 4 };
enum : A_long {
  AEGP_MENU_INSERT_SORTED = -2,
  AEGP_MENU_INSERT_AT_BOTTOM = -1,
  AEGP_MENU_INSERT_AT_TOP = 0,
};
enum : AEGP_HookPriority {
  AEGP_HP_BeforeAE = 1,
  AEGP_HP_AfterAE = 2,
};
inline constexpr A_Err A_Err_NONE = 0;
inline constexpr A_Err A_Err_ALLOC = 4;            // the host's out-of-memory code
inline constexpr A_Err A_Err_MISSING_SUITE = 516;  // a host suite that cannot be acquired

// ---- Structs ---------------------------------------------------------------

typedef struct {
  A_long value;
  A_u_long scale;
} A_Time;

typedef struct {
  A_long left, top, right, bottom;
} PF_LRect;

typedef struct {
  A_long num;
  A_u_long den;
} PF_RationalScale;

typedef uint8_t PF_Pixel8Byte;

// The host's description of a rendered frame. 8-bit pixels are 4 bytes in
// the order alpha, red, green, blue; rows run from the top down, `rowbytes`
// apart.
typedef struct PF_EffectWorld {
  void* reserved0;
  void* reserved1;
  PF_WorldFlags world_flags;
  PF_Pixel8Byte* data;
  A_long rowbytes;
  A_long width;
  A_long height;
  PF_LRect extent_hint;
  void* platform_ref;
  A_long reserved_long1;
  void* reserved_long4;
  PF_RationalScale pix_aspect_ratio;
  void* reserved_long2;
  A_long origin_x;
  A_long origin_y;
  A_long reserved_long3;
  A_long dephault;
} PF_EffectWorld;
typedef PF_EffectWorld PF_LayerDef;

// A slot the plug-in never calls: only its size and place matter.
typedef void (*AEGP_UnusedSlot)(void);

// ---- Basic suite directory ---------------------------------------------------

typedef struct SPBasicSuite {
  // Looks a suite up by exact name and version; on 0 writes its function
  // table (host-owned, read-only, valid until released) to *suite.
  SPErr (*AcquireSuite)(const char* name, int32_t version, const void** suite);
  // Gives back one acquisition of a suite made with the same name and version.
  SPErr (*ReleaseSuite)(const char* name, int32_t version);
  // Compares two suite names; not used by the plug-in.
  SPBoolean (*IsEqual)(const char* token1, const char* token2);
  // Host allocator; not used by the plug-in.
  SPErr (*AllocateBlock)(size_t size, void** block);
  // Frees a block from AllocateBlock; not used by the plug-in.
  SPErr (*FreeBlock)(void* block);
  // Resizes a block from AllocateBlock; not used by the plug-in.
  SPErr (*ReallocateBlock)(void* block, size_t new_size, void** new_block);
  // Placeholder; not used by the plug-in.
  SPErr (*Undefined)(void);
} SPBasicSuite;

// ---- Entry point and hooks ---------------------------------------------------

// Called once after load. `basic` stays valid for the host's run; the plug-in
// may keep it. `global_refcon_out` receives data the host hands back to hooks.
typedef A_Err (*AEGP_PluginInitFuncPrototype)(SPBasicSuite* basic, A_long major_version,
                                              A_long minor_version, AEGP_PluginID plugin_id,
                                              AEGP_GlobalRefcon* global_refcon_out);
// Every command the user invokes; set *handled_out to true when it was ours.
typedef A_Err (*AEGP_CommandHook)(AEGP_GlobalRefcon plugin_refcon, AEGP_CommandRefcon refcon,
                                  AEGP_Command command, AEGP_HookPriority hook_priority,
                                  A_Boolean already_handled, A_Boolean* handled_out);
// The host brings its menus up to date.
typedef A_Err (*AEGP_UpdateMenuHook)(AEGP_GlobalRefcon plugin_refcon, AEGP_UpdateMenuRefcon refcon,
                                     AEGP_WindowType active_window);
// The host is about to unload the plug-in.
typedef A_Err (*AEGP_DeathHook)(AEGP_GlobalRefcon plugin_refcon, AEGP_DeathRefcon refcon);
// The host is idle; *max_sleep is the longest it may sleep before the next call.
typedef A_Err (*AEGP_IdleHook)(AEGP_GlobalRefcon plugin_refcon, AEGP_IdleRefcon refcon,
                               A_long* max_sleep);
// Polled during a render; set *cancel_out to stop it.
typedef A_Err (*AEGP_RenderCancelCallback)(void* refcon, A_Boolean* cancel_out);

// ---- The ten suites ------------------------------------------------------------

// "AEGP Command Suite" version 1.
typedef struct AEGP_CommandSuite1 {
  // Issues a new command id, unique for the host's run, into *unique_command.
  A_Err (*AEGP_GetUniqueCommand)(AEGP_Command* unique_command);
  // Adds a menu item; the host copies `name` before returning.
  A_Err (*AEGP_InsertMenuCommand)(AEGP_Command command, const A_char* name, AEGP_MenuID menu_id,
                                  A_long after_item);
  AEGP_UnusedSlot AEGP_RemoveMenuCommand;
  AEGP_UnusedSlot AEGP_SetMenuCommandName;
  // Makes the command's menu item available.
  A_Err (*AEGP_EnableCommand)(AEGP_Command command);
  // Makes the command's menu item unavailable.
  A_Err (*AEGP_DisableCommand)(AEGP_Command command);
  AEGP_UnusedSlot AEGP_CheckMarkMenuCommand;
  AEGP_UnusedSlot AEGP_DoCommand;
} AEGP_CommandSuite1;

// "AEGP Register Suite" version 6.
typedef struct AEGP_RegisterSuite6 {
  // Registers a hook for `command` (0: all commands) at `hook_priority`.
  A_Err (*AEGP_RegisterCommandHook)(AEGP_PluginID plugin_id, AEGP_HookPriority hook_priority,
                                    AEGP_Command command, AEGP_CommandHook command_hook_func,
                                    AEGP_CommandRefcon refcon);
  // Registers the hook called whenever the host updates its menus.
  A_Err (*AEGP_RegisterUpdateMenuHook)(AEGP_PluginID plugin_id,
                                       AEGP_UpdateMenuHook update_menu_hook_func,
                                       AEGP_UpdateMenuRefcon refcon);
  // Registers the hook called before the plug-in is unloaded.
  A_Err (*AEGP_RegisterDeathHook)(AEGP_PluginID plugin_id, AEGP_DeathHook death_func,
                                  AEGP_DeathRefcon refcon);
  AEGP_UnusedSlot AEGP_RegisterVersionHook;
  AEGP_UnusedSlot AEGP_RegisterAboutStringHook;
  AEGP_UnusedSlot AEGP_RegisterAboutHook;
  AEGP_UnusedSlot AEGP_RegisterArtisan;
  AEGP_UnusedSlot AEGP_RegisterIO;
  // Registers the hook called while the host is idle.
  A_Err (*AEGP_RegisterIdleHook)(AEGP_PluginID plugin_id, AEGP_IdleHook idle_func,
                                 AEGP_IdleRefcon refcon);
  AEGP_UnusedSlot AEGP_RegisterTracker;
  AEGP_UnusedSlot AEGP_RegisterInteractiveArtisan;
  AEGP_UnusedSlot AEGP_RegisterPresetLocalizationString;
} AEGP_RegisterSuite6;

// "AEGP Utility Suite" version 7.
typedef struct AEGP_UtilitySuite7 {
  // Shows the host's information report; the host copies `info_string`.
  A_Err (*AEGP_ReportInfo)(AEGP_PluginID plugin_id, const A_char* info_string);
  AEGP_UnusedSlot unused[24];  // GetDriverPluginInitFuncVersion ... WriteToDebugLog
} AEGP_UtilitySuite7;

// Slots 0 to 25 of the item suites, shared by versions 10 and 13 except for
// slot 7, whose name operation differs between them.
#define AEGP_ITEM_SUITE_SLOTS(GetItemNameSlot)                                    \
  AEGP_UnusedSlot AEGP_GetFirstProjItem;                                          \
  AEGP_UnusedSlot AEGP_GetNextProjItem;                                           \
  /* Writes the active item, or null when nothing is active; the host owns it. */ \
  A_Err (*AEGP_GetActiveItem)(AEGP_ItemH * item);                                 \
  AEGP_UnusedSlot AEGP_IsItemSelected;                                            \
  AEGP_UnusedSlot AEGP_SelectItem;                                                \
  /* Writes the item's type (AEGP_ItemType_*). */                                 \
  A_Err (*AEGP_GetItemType)(AEGP_ItemH item, AEGP_ItemType * item_type);          \
  AEGP_UnusedSlot AEGP_GetTypeName;                                               \
  GetItemNameSlot;                                                                \
  AEGP_UnusedSlot AEGP_SetItemName;                                               \
  AEGP_UnusedSlot AEGP_GetItemID;                                                 \
  AEGP_UnusedSlot AEGP_GetItemFlags;                                              \
  AEGP_UnusedSlot AEGP_SetItemUseProxy;                                           \
  AEGP_UnusedSlot AEGP_GetItemParentFolder;                                       \
  AEGP_UnusedSlot AEGP_SetItemParentFolder;                                       \
  AEGP_UnusedSlot AEGP_GetItemDuration;                                           \
  /* Writes the item's current time. */                                           \
  A_Err (*AEGP_GetItemCurrentTime)(AEGP_ItemH item, A_Time * curr_time);          \
  AEGP_UnusedSlot AEGP_GetItemDimensions;                                         \
  AEGP_UnusedSlot AEGP_GetItemPixelAspectRatio;                                   \
  AEGP_UnusedSlot AEGP_DeleteItem;                                                \
  AEGP_UnusedSlot AEGP_CreateNewFolder;                                           \
  AEGP_UnusedSlot AEGP_SetItemCurrentTime;                                        \
  AEGP_UnusedSlot AEGP_GetItemCommentLength;                                      \
  AEGP_UnusedSlot AEGP_GetItemComment;                                            \
  AEGP_UnusedSlot AEGP_SetItemComment;                                            \
  AEGP_UnusedSlot AEGP_GetItemLabel;                                              \
  AEGP_UnusedSlot AEGP_SetItemLabel

// "AEGP Item Suite" version 10; its 8-bit name operation is not used.
typedef struct AEGP_ItemSuite10 {
  AEGP_ITEM_SUITE_SLOTS(AEGP_UnusedSlot AEGP_GetItemName);
} AEGP_ItemSuite10;

// "AEGP Item Suite" version 13.
typedef struct AEGP_ItemSuite13 {
  AEGP_ITEM_SUITE_SLOTS(
      /* Writes a new handle holding the name as NUL-terminated UTF-16; the caller frees it. */
      A_Err (*AEGP_GetItemName)(AEGP_PluginID plugin_id, AEGP_ItemH item,
                                AEGP_MemHandle* unicode_name));
  AEGP_UnusedSlot AEGP_GetItemMRUView;
} AEGP_ItemSuite13;

#undef AEGP_ITEM_SUITE_SLOTS

// "AEGP Comp Suite" version 14.
typedef struct AEGP_CompSuite14 {
  // Writes the composition behind an item; the host owns it.
  A_Err (*AEGP_GetCompFromItem)(AEGP_ItemH item, AEGP_CompH* comp);
  AEGP_UnusedSlot unused[33];
} AEGP_CompSuite14;

// "AEGP Render Options Suite" version 2.
typedef struct AEGP_RenderOptionsSuite2 {
  // Writes new render options for the item; the caller disposes of them.
  A_Err (*AEGP_NewFromItem)(AEGP_PluginID plugin_id, AEGP_ItemH item, AEGP_RenderOptionsH* options);
  AEGP_UnusedSlot AEGP_Duplicate;
  // Frees render options made by AEGP_NewFromItem.
  A_Err (*AEGP_Dispose)(AEGP_RenderOptionsH options);
  // Sets the time of the frame to render.
  A_Err (*AEGP_SetTime)(AEGP_RenderOptionsH options, A_Time time);
  AEGP_UnusedSlot AEGP_GetTime;
  AEGP_UnusedSlot AEGP_SetTimeStep;
  AEGP_UnusedSlot AEGP_GetTimeStep;
  AEGP_UnusedSlot AEGP_SetFieldRender;
  AEGP_UnusedSlot AEGP_GetFieldRender;
  // Sets the bit depth of the rendered world (AEGP_WorldType_8: 8 bits).
  A_Err (*AEGP_SetWorldType)(AEGP_RenderOptionsH options, AEGP_WorldType type);
  AEGP_UnusedSlot AEGP_GetWorldType;
  // Sets the downsampling (1 by 1: full resolution).
  A_Err (*AEGP_SetDownsampleFactor)(AEGP_RenderOptionsH options, A_short x, A_short y);
  AEGP_UnusedSlot AEGP_GetDownsampleFactor;
  AEGP_UnusedSlot AEGP_SetRegionOfInterest;
  AEGP_UnusedSlot AEGP_GetRegionOfInterest;
  AEGP_UnusedSlot AEGP_SetMatteMode;
  AEGP_UnusedSlot AEGP_GetMatteMode;
  AEGP_UnusedSlot AEGP_SetChannelOrder;
  AEGP_UnusedSlot AEGP_GetChannelOrder;
} AEGP_RenderOptionsSuite2;

// "AEGP Render Suite" version 2.
typedef struct AEGP_RenderSuite2 {
  // Renders synchronously; may write a null receipt. A receipt must be checked in.
  A_Err (*AEGP_RenderAndCheckoutFrame)(AEGP_RenderOptionsH options,
                                       AEGP_RenderCancelCallback cancel_function,
                                       AEGP_CancelRefcon cancel_function_refcon,
                                       AEGP_FrameReceiptH* receipt);
  // Gives a receipt back; its world is invalid afterwards.
  A_Err (*AEGP_CheckinFrame)(AEGP_FrameReceiptH receipt);
  // Writes the receipt's world, owned by the receipt.
  A_Err (*AEGP_GetReceiptWorld)(AEGP_FrameReceiptH receipt, AEGP_WorldH* world);
  AEGP_UnusedSlot AEGP_GetRenderedRegion;
  AEGP_UnusedSlot AEGP_IsRenderedFrameSufficient;
  AEGP_UnusedSlot AEGP_RenderNewItemSoundData;
  AEGP_UnusedSlot AEGP_GetCurrentTimestamp;
  AEGP_UnusedSlot AEGP_HasItemChangedSinceTimestamp;
  AEGP_UnusedSlot AEGP_IsItemWorthwhileToRender;
  AEGP_UnusedSlot AEGP_CheckinRenderedFrame;
} AEGP_RenderSuite2;

// "AEGP Memory Suite" version 1.
typedef struct AEGP_MemorySuite1 {
  AEGP_UnusedSlot AEGP_NewMemHandle;
  // Frees a handle the host gave the plug-in; locked or not.
  A_Err (*AEGP_FreeMemHandle)(AEGP_MemHandle mem_handle);
  // Locks the handle and writes the address of its bytes, valid while locked.
  A_Err (*AEGP_LockMemHandle)(AEGP_MemHandle mem_handle, void** ptr_to_ptr);
  AEGP_UnusedSlot AEGP_UnlockMemHandle;
  // Writes the handle's size in bytes.
  A_Err (*AEGP_GetMemHandleSize)(AEGP_MemHandle mem_handle, AEGP_MemSize* size);
  AEGP_UnusedSlot AEGP_ResizeMemHandle;
  AEGP_UnusedSlot AEGP_SetMemReportingOn;
  AEGP_UnusedSlot AEGP_GetMemStats;
} AEGP_MemorySuite1;

// "AEGP World Suite" version 2.
typedef struct AEGP_WorldSuite2 {
  AEGP_UnusedSlot AEGP_New;
  AEGP_UnusedSlot AEGP_Dispose;
  AEGP_UnusedSlot AEGP_GetType;
  AEGP_UnusedSlot AEGP_GetSize;
  AEGP_UnusedSlot AEGP_GetRowBytes;
  AEGP_UnusedSlot AEGP_GetBaseAddr8;
  AEGP_UnusedSlot AEGP_GetBaseAddr16;
  // Describes the world in *pf_world; its pixels stay owned by the world.
  A_Err (*AEGP_FillOutPFEffectWorld)(AEGP_WorldH world, PF_EffectWorld* pf_world);
  AEGP_UnusedSlot AEGP_FastBlur;
  AEGP_UnusedSlot AEGP_NewPlatformWorld;
  AEGP_UnusedSlot AEGP_DisposePlatformWorld;
  AEGP_UnusedSlot AEGP_NewReferenceFromPlatformWorld;
} AEGP_WorldSuite2;

}  // extern "C"

// ---- Layout pins (x86-64) ------------------------------------------------------

static_assert(sizeof(void*) == 8, "the host interface is declared for 64-bit code");
static_assert(sizeof(A_Time) == 8 && offsetof(A_Time, scale) == 4, "A_Time");
#ifdef _WIN32
static_assert(sizeof(AEGP_MenuID) == 4 && sizeof(SPBoolean) == 4, "Windows legacy widths");
#else
static_assert(sizeof(AEGP_MenuID) == 1 && sizeof(SPBoolean) == 1, "macOS legacy widths");
#endif
static_assert(sizeof(PF_EffectWorld) == 120, "PF_EffectWorld size");
static_assert(offsetof(PF_EffectWorld, world_flags) == 16, "world_flags");
static_assert(offsetof(PF_EffectWorld, data) == 24, "data");
static_assert(offsetof(PF_EffectWorld, rowbytes) == 32, "rowbytes");
static_assert(offsetof(PF_EffectWorld, width) == 36, "width");
static_assert(offsetof(PF_EffectWorld, height) == 40, "height");
static_assert(offsetof(PF_EffectWorld, extent_hint) == 44, "extent_hint");
static_assert(offsetof(PF_EffectWorld, platform_ref) == 64, "platform_ref");
static_assert(offsetof(PF_EffectWorld, reserved_long1) == 72, "reserved_long1");
static_assert(offsetof(PF_EffectWorld, reserved_long4) == 80, "reserved_long4");
static_assert(offsetof(PF_EffectWorld, pix_aspect_ratio) == 88, "pix_aspect_ratio");
static_assert(offsetof(PF_EffectWorld, reserved_long2) == 96, "reserved_long2");
static_assert(offsetof(PF_EffectWorld, origin_x) == 104, "origin_x");
static_assert(offsetof(PF_EffectWorld, origin_y) == 108, "origin_y");
static_assert(offsetof(PF_EffectWorld, reserved_long3) == 112, "reserved_long3");
static_assert(offsetof(PF_EffectWorld, dephault) == 116, "dephault");

#define AEGP_PIN_SLOT(Suite, field, slot) \
  static_assert(offsetof(Suite, field) == (slot) * sizeof(void*), #Suite "::" #field)
#define AEGP_PIN_SIZE(Suite, slots) \
  static_assert(sizeof(Suite) == (slots) * sizeof(void*), #Suite " slot count")

AEGP_PIN_SIZE(SPBasicSuite, 7);
AEGP_PIN_SLOT(SPBasicSuite, AcquireSuite, 0);
AEGP_PIN_SLOT(SPBasicSuite, ReleaseSuite, 1);

AEGP_PIN_SIZE(AEGP_CommandSuite1, 8);
AEGP_PIN_SLOT(AEGP_CommandSuite1, AEGP_GetUniqueCommand, 0);
AEGP_PIN_SLOT(AEGP_CommandSuite1, AEGP_InsertMenuCommand, 1);
AEGP_PIN_SLOT(AEGP_CommandSuite1, AEGP_EnableCommand, 4);
AEGP_PIN_SLOT(AEGP_CommandSuite1, AEGP_DisableCommand, 5);

AEGP_PIN_SIZE(AEGP_RegisterSuite6, 12);
AEGP_PIN_SLOT(AEGP_RegisterSuite6, AEGP_RegisterCommandHook, 0);
AEGP_PIN_SLOT(AEGP_RegisterSuite6, AEGP_RegisterUpdateMenuHook, 1);
AEGP_PIN_SLOT(AEGP_RegisterSuite6, AEGP_RegisterDeathHook, 2);
AEGP_PIN_SLOT(AEGP_RegisterSuite6, AEGP_RegisterIdleHook, 8);

AEGP_PIN_SIZE(AEGP_UtilitySuite7, 25);
AEGP_PIN_SLOT(AEGP_UtilitySuite7, AEGP_ReportInfo, 0);

AEGP_PIN_SIZE(AEGP_ItemSuite10, 26);
AEGP_PIN_SLOT(AEGP_ItemSuite10, AEGP_GetActiveItem, 2);
AEGP_PIN_SLOT(AEGP_ItemSuite10, AEGP_GetItemType, 5);
AEGP_PIN_SLOT(AEGP_ItemSuite10, AEGP_GetItemCurrentTime, 15);

AEGP_PIN_SIZE(AEGP_ItemSuite13, 27);
AEGP_PIN_SLOT(AEGP_ItemSuite13, AEGP_GetItemName, 7);
AEGP_PIN_SLOT(AEGP_ItemSuite13, AEGP_GetItemMRUView, 26);

AEGP_PIN_SIZE(AEGP_CompSuite14, 34);
AEGP_PIN_SLOT(AEGP_CompSuite14, AEGP_GetCompFromItem, 0);

AEGP_PIN_SIZE(AEGP_RenderOptionsSuite2, 19);
AEGP_PIN_SLOT(AEGP_RenderOptionsSuite2, AEGP_NewFromItem, 0);
AEGP_PIN_SLOT(AEGP_RenderOptionsSuite2, AEGP_Dispose, 2);
AEGP_PIN_SLOT(AEGP_RenderOptionsSuite2, AEGP_SetTime, 3);
AEGP_PIN_SLOT(AEGP_RenderOptionsSuite2, AEGP_SetWorldType, 9);
AEGP_PIN_SLOT(AEGP_RenderOptionsSuite2, AEGP_SetDownsampleFactor, 11);

AEGP_PIN_SIZE(AEGP_RenderSuite2, 10);
AEGP_PIN_SLOT(AEGP_RenderSuite2, AEGP_RenderAndCheckoutFrame, 0);
AEGP_PIN_SLOT(AEGP_RenderSuite2, AEGP_CheckinFrame, 1);
AEGP_PIN_SLOT(AEGP_RenderSuite2, AEGP_GetReceiptWorld, 2);

AEGP_PIN_SIZE(AEGP_MemorySuite1, 8);
AEGP_PIN_SLOT(AEGP_MemorySuite1, AEGP_FreeMemHandle, 1);
AEGP_PIN_SLOT(AEGP_MemorySuite1, AEGP_LockMemHandle, 2);
AEGP_PIN_SLOT(AEGP_MemorySuite1, AEGP_GetMemHandleSize, 4);

AEGP_PIN_SIZE(AEGP_WorldSuite2, 12);
AEGP_PIN_SLOT(AEGP_WorldSuite2, AEGP_FillOutPFEffectWorld, 7);

#undef AEGP_PIN_SLOT
#undef AEGP_PIN_SIZE
// NOLINTEND(readability-identifier-naming)
