// Putting a whole file in place on the platform's file system.
#pragma once

#include <cstddef>
#include <string>

namespace glimster {

enum class FileReplaceResult {
  kReplaced,     // the file at the path now holds exactly the bytes
  kOpenFailed,   // no file can be created at the path; nothing changed
  kWriteFailed,  // writing or flushing the bytes failed; nothing changed
};

// Replaces the file at `utf8_path` with `bytes`, all or nothing: the bytes go
// to a temporary file in the same folder, are flushed to the disk, and the
// temporary then takes the path's place in one step. On failure the
// temporary is removed (or, where it cannot be, revealed) and an earlier
// file at the path is left as it was. The policy is FileReplace.cpp's; the
// platform's file calls are in FileSystemCalls.h.
// (Not called ReplaceFile: <windows.h> defines that name as a macro.)
FileReplaceResult ReplaceFileWhole(const std::string& utf8_path, const unsigned char* bytes,
                                   std::size_t size);

}  // namespace glimster
