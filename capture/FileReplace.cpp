// How a file is put in place, on every platform: the bytes go to a hidden
// temporary file of its own beside the target, are written, flushed and the
// file closed; the temporary is revealed (an ordinary visible file), moved
// over the target and the folder flushed. A step that fails removes the
// temporary, or where it cannot, at least reveals it.
#include "capture/FileReplace.h"

#include <atomic>
#include <cstdio>

#include "capture/FileSystemCalls.h"

namespace glimster {

using file_system::Creation;
using file_system::NativeFile;
using file_system::NativePath;

std::uint64_t file_system::FallbackBits(std::uint64_t process_id, std::uint64_t clock) {
  static std::atomic<std::uint64_t> count{0};
  return (process_id << 32) ^ clock ^ (count.fetch_add(1) << 20);
}

namespace {

// How many fresh temporary names are tried before the folder counts as unwritable.
constexpr int kTemporaryNameAttempts = 16;

// A fresh hidden name: ".glimster-", 10 hex digits (40 random bits) and
// ".tmp", 24 bytes: no longer than the shortest name a capture has (an empty
// composition part, the 24-hour timestamp and ".png", as in
// " 2026-12-08 21.30.00.png"), so it fits wherever the capture's own name fits.
NativePath TemporaryPathIn(const NativePath& folder) {
  char name[32];
  std::snprintf(name, sizeof name, ".glimster-%010llx.tmp",
                static_cast<unsigned long long>(file_system::RandomBits() & 0xFFFFFFFFFFull));
  return file_system::PathIn(folder, name);
}

// Creates a temporary file of its own in `folder`, drawing a fresh name while
// one is taken; false when none can be created.
bool CreateTemporaryIn(const NativePath& folder, NativePath& temporary, NativeFile& file) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    temporary = TemporaryPathIn(folder);
    const Creation creation = file_system::CreateNew(temporary, file);
    if (creation != Creation::kNameTaken) return creation == Creation::kCreated;
  }
  return false;
}

// Removes the closed temporary after a failure; gives `result`. One that
// cannot be removed is revealed: no hidden file is left behind for ever.
FileReplaceResult Discard(const NativePath& temporary, FileReplaceResult result) {
  if (!file_system::Delete(temporary)) file_system::RevealLeftover(temporary);
  return result;
}

}  // namespace

FileReplaceResult ReplaceFileWhole(const std::string& utf8_path, const unsigned char* bytes,
                                   std::size_t size) {
  const NativePath target = file_system::NativePathOf(utf8_path);
  if (target.empty()) return FileReplaceResult::kOpenFailed;
  const NativePath folder = file_system::FolderOf(target);
  NativePath temporary;
  NativeFile file{};
  if (!CreateTemporaryIn(folder, temporary, file)) return FileReplaceResult::kOpenFailed;

  bool written = file_system::WriteAll(file, bytes, size) && file_system::FlushToDisk(file);
  written = file_system::Close(file) && written;
  // Only a visible file takes the target's place: a capture is never hidden.
  if (!written || !file_system::Reveal(temporary)) {
    return Discard(temporary, FileReplaceResult::kWriteFailed);
  }
  // The bytes are safe on disk; what fails now is the name itself (reserved,
  // too long, a folder in the way): the file cannot be created there.
  if (!file_system::MoveOver(temporary, target)) {
    return Discard(temporary, FileReplaceResult::kOpenFailed);
  }
  file_system::FlushFolder(folder);
  return FileReplaceResult::kReplaced;
}

}  // namespace glimster
