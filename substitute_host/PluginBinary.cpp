#include "substitute_host/PluginBinary.h"

#include "substitute_host/platform/LibraryLoader.h"

namespace glimster::substitute_host {
namespace {

constexpr char kEntryPointName[] = "EntryPointFunc";
constexpr char kMacCodeName[] = "glimster_macos_loaded";

platform::LibraryHandle load(const std::filesystem::path& file) {
  try {
    return platform::LoadLibraryForever(file);
  } catch (const std::runtime_error& error) {
    throw PluginLoadError(PluginLoadError::Reason::kNotLoadable, error.what());
  }
}

AEGP_PluginInitFuncPrototype FindEntryPoint(platform::LibraryHandle library,
                                            const std::filesystem::path& file) {
  void* entry = platform::FindExportedFunction(library, kEntryPointName);
  if (entry == nullptr) {
    throw PluginLoadError(PluginLoadError::Reason::kNoEntryPoint,
                          file.u8string() + " exports no " + kEntryPointName);
  }
  return reinterpret_cast<AEGP_PluginInitFuncPrototype>(entry);
}

}  // namespace

PluginBinary::PluginBinary(std::filesystem::path file)
    : file_(std::move(file)), library_(load(file_)), entryPoint_(FindEntryPoint(library_, file_)) {}

std::optional<LoadedMacCode> PluginBinary::loaded_mac_code() const {
  using Answer = void (*)(const char** executable, const char** architecture);
  const auto answer =
      reinterpret_cast<Answer>(platform::FindExportedFunction(library_, kMacCodeName));
  if (answer == nullptr) {
    return std::nullopt;
  }
  const char* executable = nullptr;
  const char* architecture = nullptr;
  answer(&executable, &architecture);
  return LoadedMacCode{std::filesystem::u8path(executable), architecture};
}

}  // namespace glimster::substitute_host
