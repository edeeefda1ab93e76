// A plug-in binary loaded through the platform loader, as the host loads it.
#pragma once

#include "host/AE_HostInterface.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace glimster::substitute_host {

// Why a file could not be loaded as a plug-in, with the loader's message.
class PluginLoadError : public std::runtime_error {
 public:
  enum class Reason { kNotLoadable, kNoEntryPoint };
  PluginLoadError(Reason reason, const std::string& message)
      : std::runtime_error(message), reason_(reason) {}
  Reason reason() const { return reason_; }

 private:
  Reason reason_;
};

// The Mac code macos_runner loaded: the slice's Mach-O file and its
// architecture ("x86_64", "arm64").
struct LoadedMacCode {
  std::filesystem::path executable;
  std::string architecture;
};

class PluginBinary {
 public:
  // Loads `file` for the rest of the process's life (it is never unloaded,
  // so loading the same file again is cheap) and finds its exported
  // "EntryPointFunc"; throws PluginLoadError when either fails.
  explicit PluginBinary(std::filesystem::path file);

  // The file loaded.
  const std::filesystem::path& file() const { return file_; }
  // The plug-in's EntryPointFunc.
  AEGP_PluginInitFuncPrototype EntryPoint() const { return entryPoint_; }
  // The Mac code the plug-in runs when it is macos_runner, as the runner
  // answers through its export glimster_macos_loaded; none for any other.
  std::optional<LoadedMacCode> loaded_mac_code() const;

 private:
  std::filesystem::path file_;
  void* library_;
  AEGP_PluginInitFuncPrototype entryPoint_;
};

}  // namespace glimster::substitute_host
