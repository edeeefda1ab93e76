// GlimsterMacOS.so: a Linux shared library that, as it is loaded, loads the
// Mac bundle's slice of this architecture as dyld would (map, fix up, bind
// every import to a stand-in, protect, run initialisers) and then answers
// the host's call of EntryPointFunc with the bundle's _EntryPointFunc. A
// host that loads plug-ins with dlopen drives the Mac code unchanged.
// Before any of it, the slice's pages are checked against its code
// signature, as the kernel checks them (see CodeSignature.h).
//
// The bundle: $GLIMSTER_MACOS_BUNDLE (a .plugin folder or a Mach-O file,
// universal or thin), or the one this build made.
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "CodeSignature.h"
#include "Failure.h"
#include "Fixups.h"
#include "MachOImage.h"
#include "ObjC.h"
#include "ThreadLocals.h"
#include "Unwind.h"
#include "host/AE_HostInterface.h"

namespace macos_runner {
namespace {

// <mach-o/loader.h> section types.
constexpr std::uint32_t kInitFunctionPointers = 0x9;      // S_MOD_INIT_FUNC_POINTERS
constexpr std::uint32_t kThreadLocalRegular = 0x11;       // S_THREAD_LOCAL_REGULAR
constexpr std::uint32_t kThreadLocalZeroFill = 0x12;      // S_THREAD_LOCAL_ZEROFILL
constexpr std::uint32_t kThreadLocalInitPointers = 0x15;  // S_THREAD_LOCAL_INIT_FUNCTION_POINTERS
constexpr std::uint32_t kInitFunctionOffsets = 0x16;      // S_INIT_FUNC_OFFSETS

AEGP_PluginInitFuncPrototype g_entry_point = nullptr;
const MachOImage* g_image = nullptr;

// The template of every thread's thread-local variables: from the first
// thread-local data section to the end of the last (dyld's layout).
void FindThreadLocalTemplate(const MachOImage& image) {
  std::uint64_t start = UINT64_MAX, end = 0;
  for (const Section& section : image.sections) {
    if (section.type == kThreadLocalInitPointers)
      FailLoad("thread-local variables with initialisers are not implemented");
    if (section.type != kThreadLocalRegular && section.type != kThreadLocalZeroFill) continue;
    start = std::min(start, section.address);
    end = std::max(end, section.address + section.size);
  }
  if (start < end) SetThreadLocalTemplate(image.At(start), end - start);
}

// The bundle's static initialisers, in order, as dyld runs them once the
// image is bound (the bundle needs no arguments of them).
void RunInitializers(const MachOImage& image) {
  for (const Section& section : image.sections) {
    if (section.type == kInitFunctionPointers) {
      auto* const* functions = reinterpret_cast<void (*const*)()>(image.At(section.address));
      for (std::size_t i = 0; i < section.size / sizeof *functions; ++i) functions[i]();
    } else if (section.type == kInitFunctionOffsets) {
      const auto* offsets = reinterpret_cast<const std::uint32_t*>(image.At(section.address));
      for (std::size_t i = 0; i < section.size / sizeof *offsets; ++i)
        reinterpret_cast<void (*)()>(image.base + offsets[i])();
    }
  }
}

__attribute__((constructor)) void LoadBundle() {
  const char* configured = getenv("GLIMSTER_MACOS_BUNDLE");
  const std::string bundle = configured != nullptr && *configured != '\0'
                                 ? configured
                                 : GLIMSTER_MACOS_RUNNER_DEFAULT_BUNDLE;
  // The image stays for the life of the process, as a bundle's image does.
  const MachOImage& image = *new MachOImage(MapSlice(BundleExecutable(bundle)));
  g_image = &image;
  VerifyCodeSignature(image);
  ApplyFixups(image);
  PrepareObjCMetadata(image);
  FindThreadLocalTemplate(image);
  SetUnwindImage(image);
  g_entry_point =
      reinterpret_cast<AEGP_PluginInitFuncPrototype>(image.FindExport("_EntryPointFunc"));
  if (g_entry_point == nullptr) FailLoad("the bundle exports no _EntryPointFunc");
  ProtectSegments(image);
  RunInitializers(image);
}

}  // namespace
}  // namespace macos_runner

// The plug-in's entry point, as the host finds it in any Glimster plug-in.
extern "C" __attribute__((visibility("default"))) A_Err EntryPointFunc(
    SPBasicSuite* basic, A_long major_version, A_long minor_version, AEGP_PluginID plugin_id,
    AEGP_GlobalRefcon* global_refcon_out) {
  return macos_runner::g_entry_point(basic, major_version, minor_version, plugin_id,
                                     global_refcon_out);
}

// Which Mac code this library loaded, for a host or a test to tell what it
// runs: the slice's Mach-O file as the runner opened it, and its
// architecture ("x86_64" or "arm64"). The answers live as long as the process.
extern "C" __attribute__((visibility("default"))) void glimster_macos_loaded(
    const char** executable, const char** architecture) {
  *executable = macos_runner::g_image->executable.c_str();
  *architecture = macos_runner::g_image->architecture;
}
