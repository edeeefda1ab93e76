// What the host learns about Glimster from its descriptor, kept in one place.
//
// The build reads several of these lines as well (for the Windows resource
// script and the macOS bundle's Info.plist and PkgInfo), so each fact given
// here as a literal stays on one line of the form
// `inline constexpr <type> <name> = <value>;`. The version is the build's.
#pragma once

#include <cstdint>

namespace glimster::descriptor {

// A general plug-in (kind 'AEgx'), listed as "Glimster" in "General Plugin".
inline constexpr char kPluginKind[] = "AEgx";
inline constexpr char kPluginName[] = "Glimster";
inline constexpr char kPluginCategory[] = "General Plugin";

// The project's version (project(Glimster VERSION ...) in CMakeLists.txt,
// which defines these two for the generator): the major number in the high
// 16 bits, the minor in the low 16.
inline constexpr std::uint32_t kPluginVersion =
    (std::uint32_t{GLIMSTER_VERSION_MAJOR} << 16) | std::uint32_t{GLIMSTER_VERSION_MINOR};

// The function the library exports, undecorated, for the host to call once.
inline constexpr char kEntryPointName[] = "EntryPointFunc";

// Every property of the descriptor is filed under the host vendor's code.
inline constexpr char kPropertyVendor[] = "8BIM";

// The resource that carries the descriptor: on Windows a resource of the
// string type "PIPL" in US English (language 1033) inside the library; on
// macOS a 'PiPL' resource in the bundle's resource file.
inline constexpr std::int16_t kResourceId = 16000;
inline constexpr char kWindowsResourceType[] = "PIPL";
inline constexpr std::uint16_t kWindowsResourceLanguage = 1033;
inline constexpr char kMacResourceType[] = "PiPL";

}  // namespace glimster::descriptor
