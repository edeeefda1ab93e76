// The host suites the plug-in knows, in the order they are released.
//
// Each row is a suite name, passed to the host exactly as written, and a
// version. Two rows may share a name under different versions; they are
// separate suites to the host. Only the rows named in FetchedRow below are
// ever acquired; the rest keep their place so the release order stays fixed.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "host/AE_HostInterface.h"

namespace glimster {

struct SuiteRow {
  const char* name;
  A_long version;
};

inline constexpr std::size_t kSuiteCatalogueSize = 132;

// clang-format off
inline constexpr std::array<SuiteRow, kSuiteCatalogueSize> kSuiteCatalogue = {{
    {"AEGP Marker Suite", 1}, {"AEGP Marker Suite", 2}, {"AEGP Marker Suite", 3},
    {"AEGP Layer Suite", 8}, {"AEGP Layer Suite", 10},
    {"AEGP Stream Suite", 10}, {"AEGP Stream Suite", 9}, {"AEGP Stream Suite", 8}, {"AEGP Stream Suite", 7}, {"AEGP Stream Suite", 4},
    {"AEGP Dynamic Stream Suite", 2}, {"AEGP Dynamic Stream Suite", 3}, {"AEGP Dynamic Stream Suite", 5},
    {"AEGP Keyframe Suite", 4}, {"AEGP Keyframe Suite", 3}, {"AEGP Keyframe Suite", 1},
    {"AEGP Comp Suite", 9}, {"AEGP Comp Suite", 11}, {"AEGP Comp Suite", 14}, {"AEGP Comp Suite", 15}, {"AEGP Comp Suite", 18}, {"AEGP Comp Suite", 19}, {"AEGP Comp Suite", 21}, {"AEGP Comp Suite", 25},
    {"AEGP Canvas Suite", 10}, {"AEGP Canvas Suite", 11}, {"AEGP Canvas Suite", 13}, {"AEGP Canvas Suite", 14},
    {"AEGP Camera Suite", 2},
    {"AEGP Register Suite", 6},
    {"AEGP Item View Suite", 1},
    {"AEGP Item Suite", 13}, {"AEGP Item Suite", 11}, {"AEGP Item Suite", 10}, {"AEGP Item Suite", 7}, {"AEGP Item Suite", 3},
    {"AEGP PF Interface Suite", 1},
    {"AEGP Math Suite", 1},
    {"PF AE Adv Time Suite", 4},
    {"PF Path Query Suite", 1},
    {"AEGP Memory Suite", 1},
    {"PF Path Data Suite", 1},
    {"PF Param Utils Suite", 3},
    {"PF AE App Suite", 6}, {"PF AE App Suite", 7}, {"PF AE App Suite", 1},
    {"PF AE Adv App Suite", 2},
    {"AEGP Light Suite", 1}, {"AEGP Light Suite", 2},
    {"AEGP Effect Suite", 1}, {"AEGP Effect Suite", 2}, {"AEGP Effect Suite", 3}, {"AEGP Effect Suite", 4},
    {"AEGP Layer Mask Suite", 5},
    {"AEGP Mask Outline Suite", 2}, {"AEGP Mask Outline Suite", 3}, {"AEGP Mask Outline Suite", 5},
    {"AEGP Command Suite", 1},
    {"AEGP Utility Suite", 7},
    {"AEGP Render Suite", 1}, {"AEGP Render Suite", 2}, {"AEGP Render Suite", 3}, {"AEGP Render Suite", 5}, {"AEGP Render Suite", 8},
    {"PF ANSI Suite", 1},
    {"PF Handle Suite", 2},
    {"PF Fill Matte Suite", 2},
    {"PF World Transform Suite", 1},
    {"AEGP QueryXform Suite", 4},
    {"AEGP Composite Suite", 4},
    {"PF World Suite", 1},
    {"AEGP IO In Suite", 5},
    {"AEGP IO Out Suite", 7},
    {"AEGP Render Queue Suite", 1},
    {"AEGP Render Queue Item Suite", 3},
    {"AEGP Output Module Suite", 4},
    {"AEGP File Import Manager Suite", 3},
    {"PF Sampling8 Suite", 1},
    {"PF Sampling16 Suite", 1},
    {"PF Iterate8 Suite", 1},
    {"PF iterate16 Suite", 1},
    {"PF iterateFloat Suite", 1},
    {"AEGP Collection Suite", 2},
    {"AEGP Text Document Suite", 1},
    {"AEGP Sound Data Suite", 1},
    {"AEGP Text Layer Suite", 1},
    {"AEGP Artisan Util Suite", 1},
    {"AEGP World Suite", 2}, {"AEGP World Suite", 3},
    {"AEGP Render Options Suite", 1},
    {"AEGP Tracker Suite", 1},
    {"AEGP Tracker Utility Suite", 1},
    {"AE Plugin Helper Suite2", 2},
    {"AEGP Layer Suite", 11}, {"AEGP Layer Suite", 12}, {"AEGP Layer Suite", 13}, {"AEGP Layer Suite", 14},
    {"PF AE Adv Item Suite", 1},
    {"AEGP Layer Suite", 5},
    {"AEGP Layer Mask Suite", 2}, {"AEGP Layer Mask Suite", 6}, {"AEGP Layer Mask Suite", 7},
    {"AEGP Comp Suite", 4},
    {"AEGP Collection Suite", 1},
    {"PF AE Adv App Suite", 1},
    {"AEGP Utility Suite", 3},
    {"AEGP Render Options Suite", 2},
    {"AEGP Layer Render Options Suite", 1}, {"AEGP Layer Render Options Suite", 2},
    {"AEGP Render Asyc Manager Suite", 1},
    {"AEGP Proj Suite", 8}, {"AEGP Proj Suite", 9},
    {"AEGP Footage Suite", 11},
    {"AEGP Render Queue Item Suite", 4},
    {"AEGP Utility Suite", 10},
    {"AEGP Persistent Data Suite", 4}, {"AEGP Persistent Data Suite", 3},
    {"PF Color Settings Suite", 4}, {"PF Color Settings Suite", 3}, {"PF Color Settings Suite", 1},
    {"PF ColorParamSuite", 1},
    {"PF SamplingFloat Suite", 1},
    {"AEGP Utility Suite", 11}, {"AEGP Utility Suite", 13},
    {"PF Effect Custom UI Suite", 1}, {"PF Effect Custom UI Suite", 2},
    {"PF Effect Custom UI Overlay Theme Suite", 1},
    {"DRAWBOT Draw Suite", 1},
    {"DRAWBOT Supplier Suite", 1},
    {"DRAWBOT Surface Suite", 2},
    {"DRAWBOT Path Suite", 1},
    {"SP Suites Suite", 2},
}};
// clang-format on

// The catalogue row (zero-based) from which each suite table type is fetched.
template <class Suite>
struct FetchedRow;

#define GLIMSTER_FETCHED_ROW(Suite, row, suite_name, suite_version)              \
  template <>                                                                    \
  struct FetchedRow<Suite> {                                                     \
    static constexpr std::size_t index = (row);                                  \
  };                                                                             \
  static_assert(std::string_view(kSuiteCatalogue[(row)].name) == (suite_name) && \
                    kSuiteCatalogue[(row)].version == (suite_version),           \
                #Suite " is fetched from the wrong catalogue row")

GLIMSTER_FETCHED_ROW(AEGP_CompSuite14, 18, "AEGP Comp Suite", 14);
GLIMSTER_FETCHED_ROW(AEGP_RegisterSuite6, 29, "AEGP Register Suite", 6);
GLIMSTER_FETCHED_ROW(AEGP_ItemSuite13, 31, "AEGP Item Suite", 13);
GLIMSTER_FETCHED_ROW(AEGP_ItemSuite10, 33, "AEGP Item Suite", 10);
GLIMSTER_FETCHED_ROW(AEGP_MemorySuite1, 40, "AEGP Memory Suite", 1);
GLIMSTER_FETCHED_ROW(AEGP_CommandSuite1, 57, "AEGP Command Suite", 1);
GLIMSTER_FETCHED_ROW(AEGP_UtilitySuite7, 58, "AEGP Utility Suite", 7);
GLIMSTER_FETCHED_ROW(AEGP_RenderSuite2, 60, "AEGP Render Suite", 2);
GLIMSTER_FETCHED_ROW(AEGP_WorldSuite2, 87, "AEGP World Suite", 2);
GLIMSTER_FETCHED_ROW(AEGP_RenderOptionsSuite2, 106, "AEGP Render Options Suite", 2);

#undef GLIMSTER_FETCHED_ROW

}  // namespace glimster
