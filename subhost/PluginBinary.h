// A plug-in binary loaded through the platform loader, as the host loads it.
#pragma once

#include "host/AE_HostInterface.h"

#include <filesystem>

namespace glimster::subhost {

class PluginBinary {
 public:
  // Loads `file` for the rest of the process's life (it is never unloaded,
  // so loading the same file again is cheap) and finds its exported
  // "EntryPointFunc"; throws std::runtime_error when either fails.
  explicit PluginBinary(std::filesystem::path file);

  // The file loaded.
  const std::filesystem::path& file() const { return file_; }
  // The plug-in's EntryPointFunc.
  AEGP_PluginInitFuncPrototype entryPoint() const { return entryPoint_; }

 private:
  std::filesystem::path file_;
  AEGP_PluginInitFuncPrototype entryPoint_;
};

} // namespace glimster::subhost
