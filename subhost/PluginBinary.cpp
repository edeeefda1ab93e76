#include "subhost/PluginBinary.h"

#include "subhost/platform/LibraryLoader.h"

#include <stdexcept>

namespace glimster::subhost {
namespace {

constexpr char kEntryPointName[] = "EntryPointFunc";

AEGP_PluginInitFuncPrototype findEntryPoint(const std::filesystem::path& file) {
  const platform::LibraryHandle library = platform::loadLibraryForever(file);
  void* entry = platform::findExportedFunction(library, kEntryPointName);
  if (entry == nullptr) {
    throw std::runtime_error(file.u8string() + " exports no " + kEntryPointName);
  }
  return reinterpret_cast<AEGP_PluginInitFuncPrototype>(entry);
}

} // namespace

PluginBinary::PluginBinary(std::filesystem::path file)
    : file_(std::move(file)), entryPoint_(findEntryPoint(file_)) {}

} // namespace glimster::subhost
