// The process-wide function tables the host hands to the plug-in. Every
// function in them serves the call through Host::current().
#pragma once

#include "host/AE_HostInterface.h"

#include <cstdint>
#include <string_view>

namespace glimster::substitute_host {

// The basic suite directory given to the entry point.
const SPBasicSuite& BasicSuite();

// The table of an offered suite, or null when the host does not offer it.
const void* TableOf(std::string_view name, std::int32_t version);

const AEGP_CommandSuite1& CommandSuite1();
const AEGP_RegisterSuite6& RegisterSuite6();
const AEGP_UtilitySuite7& UtilitySuite7();
const AEGP_ItemSuite10& ItemSuite10();
const AEGP_ItemSuite13& ItemSuite13();
const AEGP_CompSuite14& CompSuite14();
const AEGP_RenderOptionsSuite2& RenderOptionsSuite2();
const AEGP_RenderSuite2& RenderSuite2();
const AEGP_MemorySuite1& MemorySuite1();
const AEGP_WorldSuite2& WorldSuite2();

}  // namespace glimster::substitute_host
