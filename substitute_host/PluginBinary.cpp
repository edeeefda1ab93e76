#include "substitute_host/PluginBinary.h"

#include "substitute_host/platform/LibraryLoader.h"

namespace glimster::substitute_host {
namespace {

constexpr char kEntryPointName[] = "EntryPointFunc";

AEGP_PluginInitFuncPrototype findEntryPoint(const std::filesystem::path& file) {
  platform::LibraryHandle library = nullptr;
  try {
    library = platform::loadLibraryForever(file);
  } catch (const std::runtime_error& error) {
    throw PluginLoadError(PluginLoadError::Reason::NotLoadable, error.what());
  }
  void* entry = platform::findExportedFunction(library, kEntryPointName);
  if (entry == nullptr) {
    throw PluginLoadError(PluginLoadError::Reason::NoEntryPoint,
                          file.u8string() + " exports no " + kEntryPointName);
  }
  return reinterpret_cast<AEGP_PluginInitFuncPrototype>(entry);
}

}  // namespace

PluginBinary::PluginBinary(std::filesystem::path file)
    : file_(std::move(file)), entryPoint_(findEntryPoint(file_)) {}

}  // namespace glimster::substitute_host
