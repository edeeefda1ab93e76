// The platform side of output naming: what differs between the Windows and
// the macOS build. The common steps (OutputNaming) call only these.
#pragma once

#include <optional>
#include <string>

// What looking for the desktop folder found.
struct DesktopLookup {
  enum Status {
    kFound,          // utf8_path holds the folder
    kUnavailable,    // there is no desktop folder: the user is told
    kUnconvertible,  // the folder has no usable UTF-8 form: given up silently
  };
  Status status;
  std::string utf8_path;
};

struct NamingPlatform {
  // The UTF-8 form of a composition name (no NUL, no unpaired surrogate
  // inside); nullopt gives up the capture without a message.
  std::optional<std::string> (*name_to_utf8)(const std::u16string& name);
  // The user's desktop folder as UTF-8.
  DesktopLookup (*desktop_folder)();
  // Shows a modal message and returns once the user dismissed it; null where
  // the platform never has anything to say.
  void (*show_message)(const char* text, const char* caption);
  // Joins the desktop folder and the file name.
  char path_separator;
  // Whether the file system also reserves \ < > : " | ? * and U+0001 to U+001F.
  bool reserves_windows_characters;
};

// The operations of the platform this build is for.
extern const NamingPlatform kNativeNamingPlatform;
