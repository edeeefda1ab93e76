// The process-wide function tables the host hands to the plug-in. Every
// function in them serves the call through Host::current().
#pragma once

#include "host/AE_HostInterface.h"

#include <cstdint>
#include <string_view>

namespace glimster::substitute_host {

// The basic suite directory given to the entry point.
const SPBasicSuite& basicSuite();

// The table of an offered suite, or null when the host does not offer it.
const void* offeredSuite(std::string_view name, std::int32_t version);

const AEGP_CommandSuite1& commandSuite1();
const AEGP_RegisterSuite6& registerSuite6();
const AEGP_UtilitySuite7& utilitySuite7();
const AEGP_ItemSuite10& itemSuite10();
const AEGP_ItemSuite13& itemSuite13();
const AEGP_CompSuite14& compSuite14();
const AEGP_RenderOptionsSuite2& renderOptionsSuite2();
const AEGP_RenderSuite2& renderSuite2();
const AEGP_MemorySuite1& memorySuite1();
const AEGP_WorldSuite2& worldSuite2();

}  // namespace glimster::substitute_host
