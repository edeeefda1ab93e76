// Platform seam: making a loaded plug-in find its desktop in another folder.
#pragma once

#include "substitute_host/PluginBinary.h"

#include <filesystem>
#include <memory>

namespace glimster::substitute_host::platform {

// While alive, `plugin` finds `folder` (an existing folder) as the user's
// desktop. On Linux and macOS the plug-in takes Desktop in its home folder,
// which its home variable gives (HomeFolder.h: HOME for a Linux build,
// CFFIXED_USER_HOME for Mac code): for a folder named Desktop, the variable
// is set to its parent and the plug-in is given the folder itself; for any
// other name no home can give it, so the variable points at a temporary home
// whose Desktop is a link to the folder. The variable is restored after. On
// Windows the plug-in's import of SHGetFolderPathW answers the folder itself
// for the desktop. Throws std::runtime_error when this cannot be set up.
class DesktopRedirect {
 public:
  DesktopRedirect(const PluginBinary& plugin, const std::filesystem::path& folder);
  ~DesktopRedirect();
  DesktopRedirect(const DesktopRedirect&) = delete;
  DesktopRedirect& operator=(const DesktopRedirect&) = delete;

  // The desktop path the plug-in is given.
  const std::filesystem::path& given() const { return given_; }
  // Whether that path is a link to the folder rather than the folder's own path.
  bool ThroughLink() const { return throughLink_; }

 private:
  struct Undo;  // puts everything back when destroyed
  std::unique_ptr<Undo> undo_;
  std::filesystem::path given_;
  bool throughLink_ = false;
};

}  // namespace glimster::substitute_host::platform
