// The platform's file calls that ReplaceFileWhole (FileReplace.cpp) is made
// of: FileReplacePosix.cpp for macOS and Linux, FileReplaceWindows.cpp for
// Windows. Each does one thing and says whether it worked; the order, the
// retries and the clean-up are FileReplace.cpp's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace file_system {

#if defined(_WIN32)
using NativePath = std::wstring;  // UTF-16
using NativeFile = void*;         // a HANDLE
#else
using NativePath = std::string;  // UTF-8
using NativeFile = int;          // a descriptor
#endif

// `utf8_path` in the form the calls below take; empty when it has none.
NativePath NativePathOf(const std::string& utf8_path);
// The folder that holds the file at `path`.
NativePath FolderOf(const NativePath& path);
// The path of the file named `name` (ASCII) in `folder`.
NativePath PathIn(const NativePath& folder, const char* name);

// 64 bits nobody can predict. Should the system have none to give, the
// process id, a clock and a count still make them differ from the last call's.
std::uint64_t RandomBits();

enum class Creation {
  kCreated,    // `file` is open for writing
  kNameTaken,  // a file of that name is there already
  kFailed,     // no file can be created there
};
// Creates a new, empty file at `path`, hidden where the platform marks files
// hidden by an attribute; never opens one that is there already.
Creation CreateNew(const NativePath& path, NativeFile& file);
// Writes all `size` bytes, however many calls that takes.
bool WriteAll(NativeFile file, const unsigned char* bytes, std::size_t size);
// Flushes the file's bytes to the disk.
bool FlushToDisk(NativeFile file);
bool Close(NativeFile file);
// Gives the file at `from` the path `to` in one step, replacing a file there.
bool MoveOver(const NativePath& from, const NativePath& to);
bool Delete(const NativePath& path);
// Makes the moves in `folder` durable, where the move itself is not.
void FlushFolder(const NativePath& folder);
// Clears the hidden attribute of the file at `path`, where the platform has
// one; true when the file is not hidden by it (any longer).
bool Reveal(const NativePath& path);

}  // namespace file_system
