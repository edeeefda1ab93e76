// Platform seam: making a loaded plug-in find its desktop in another folder.
#pragma once

#include "substitute_host/PluginBinary.h"

#include <filesystem>
#include <memory>

namespace glimster::substitute_host::platform {

// While alive, `plugin` finds `folder` (an existing folder) as the user's
// desktop. On Linux and macOS the plug-in reads $HOME: HOME points at a
// temporary home whose Desktop is a link to the folder, and is restored
// after. On Windows the plug-in's import of SHGetFolderPathW answers the
// folder for the desktop. Throws std::runtime_error when this cannot be set up.
class DesktopRedirect {
 public:
  DesktopRedirect(const PluginBinary& plugin, const std::filesystem::path& folder);
  ~DesktopRedirect();
  DesktopRedirect(const DesktopRedirect&) = delete;
  DesktopRedirect& operator=(const DesktopRedirect&) = delete;

 private:
  struct Undo;  // puts everything back when destroyed
  std::unique_ptr<Undo> undo_;
};

}  // namespace glimster::substitute_host::platform
