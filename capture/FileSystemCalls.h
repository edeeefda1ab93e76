// The platform's file calls that ReplaceFileWhole (FileReplace.cpp) is made
// of: FileReplacePosix.cpp for macOS and Linux, FileReplaceWindows.cpp for
// Windows. Each does one thing and says whether it worked; the order, the
// fresh names and the clean-up are FileReplace.cpp's (only the Windows move
// waits out a program that holds a file for a moment: that is Windows' own).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace glimster {

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

// 64 bits nobody can predict; should the system have none to give,
// FallbackBits of the process id and a clock.
std::uint64_t RandomBits();
// Bits that differ from the last call's, and from another process's, when
// the system gives no random ones: `process_id`, `clock` and a count of
// calls, mixed (FileReplace.cpp).
std::uint64_t FallbackBits(std::uint64_t process_id, std::uint64_t clock);

enum class Creation {
  kCreated,    // `file` is open for writing
  kNameTaken,  // a file of that name is there already
  kFailed,     // no file can be created there
};
// Creates a new, empty file at `path`, hidden where the platform marks files
// hidden by an attribute; never opens one that is there already.
Creation CreateNew(const NativePath& path, NativeFile& file);
// The most bytes one write call is given: 1 GiB, within what macOS's write
// (INT_MAX) and Windows' WriteFile (a DWORD) take.
inline constexpr std::size_t kLargestWrite = std::size_t{1} << 30;
// Writes all `size` bytes, however many calls that takes, at most
// kLargestWrite a call.
bool WriteAll(NativeFile file, const unsigned char* bytes, std::size_t size);
// Flushes the file's bytes to the disk; true too where the file system
// answers that it does not flush (some network and FUSE file systems).
bool FlushToDisk(NativeFile file);
bool Close(NativeFile file);
// Gives the file at `from` the path `to` in one step, replacing a file there.
// On Windows a move refused while another program (a virus scanner, an
// indexer, a sync client) has either file open is tried again for about a
// second.
bool MoveOver(const NativePath& from, const NativePath& to);
bool Delete(const NativePath& path);
// Makes the moves in `folder` durable, where the move itself is not.
void FlushFolder(const NativePath& folder);
// Clears the hidden attribute of the file at `path`, where the platform has
// one; true when the file is not hidden by it (any longer).
bool Reveal(const NativePath& path);
// Reveals the temporary at `path`, which could not be deleted, as a file the
// user sees: its hidden attribute cleared (Windows), or renamed to its name
// without the leading '.' (macOS, Linux). Where that fails too, it stays.
void RevealLeftover(const NativePath& path);

}  // namespace file_system

}  // namespace glimster
