// The platform side of output naming: what differs between the Windows and
// the macOS build. The common steps (OutputNaming) call only these.
#pragma once

#include <optional>
#include <string>

namespace glimster {

// What looking for the desktop folder found.
struct DesktopLookup {
  enum class Status {
    kFound,          // utf8_path holds the folder
    kUnavailable,    // there is no desktop folder: the user is told
    kUnconvertible,  // the folder has no usable UTF-8 form
  };
  Status status;
  std::string utf8_path;
};

// What the file system keeps for itself in file names.
enum class ReservedNames {
  kSlash,    // '/' alone: macOS and Linux
  kWindows,  // also \ < > : " | ? *, U+0001 to U+001F and the device names
             // (CON, PRN, AUX, NUL, COM1-9, LPT1-9)
};

// What the file system counts a file name's length in.
enum class FileNameUnit {
  kUtf8Byte,   // macOS and Linux
  kUtf16Unit,  // Windows
};

struct NamingPlatform {
  // The UTF-8 form of a composition name (no NUL, no unpaired surrogate
  // inside), whatever its length; nullopt gives up the capture. Throws
  // std::bad_alloc when memory runs out.
  std::optional<std::string> (*name_to_utf8)(const std::u16string& name);
  // The user's desktop folder as UTF-8.
  DesktopLookup (*desktop_folder)();
  // Shows a modal message and returns once the user dismissed it; null where
  // the platform never has anything to say.
  void (*show_message)(const char* text, const char* caption);
  // Joins the desktop folder and the file name.
  char path_separator;
  // What file names must not hold.
  ReservedNames reserved;
  // The unit of the file system's limit of 255 per file name.
  FileNameUnit file_name_unit;
};

// The operations of the platform this build is for.
extern const NamingPlatform kNativeNamingPlatform;

}  // namespace glimster
