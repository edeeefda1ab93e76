// The file calls of Windows that a file replace is made of.
#include <windows.h>
#include <bcrypt.h>

#include "capture/FileSystemCalls.h"
#include "capture/WindowsPaths.h"

namespace glimster {

namespace file_system {
namespace {

// How long a move refused while another program has a file open waits before
// each new try, in milliseconds: a second in all, the first waits short, as
// a scanner or an indexer mostly lets go within moments.
constexpr DWORD kMoveRetryWaits[] = {50, 100, 200, 300, 350};

// Whether a move that failed with `error` may succeed once another program
// lets go of one of the files.
bool HeldByAnotherProgram(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
}

std::wstring Wide(const std::string& utf8) {
  const int units =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), units);
  return wide;
}

}  // namespace

NativePath NativePathOf(const std::string& utf8_path) {
  return ExtendedLengthPath(Wide(utf8_path));
}

NativePath FolderOf(const NativePath& path) {
  const std::size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? L"." : path.substr(0, separator);
}

NativePath PathIn(const NativePath& folder, const char* name) {
  return folder + L'\\' + Wide(name);
}

std::uint64_t RandomBits() {
  std::uint64_t bits = 0;
  if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&bits), sizeof bits,
                                      BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    bits = FallbackBits(GetCurrentProcessId(), static_cast<std::uint64_t>(now.QuadPart));
  }
  return bits;
}

// Hidden by its attribute: a killed capture leaves nothing the user sees.
Creation CreateNew(const NativePath& path, NativeFile& file) {
  file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN,
                     nullptr);
  if (file != INVALID_HANDLE_VALUE) return Creation::kCreated;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? Creation::kNameTaken
                                                                     : Creation::kFailed;
}

bool WriteAll(NativeFile file, const unsigned char* bytes, std::size_t size) {
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(size < kLargestWrite ? size : kLargestWrite);
    DWORD written = 0;
    if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

// A file system that cannot flush (some network redirectors) answers
// ERROR_INVALID_FUNCTION: the bytes are as safe as it can make them.
bool FlushToDisk(NativeFile file) {
  return FlushFileBuffers(file) != FALSE || GetLastError() == ERROR_INVALID_FUNCTION;
}

bool Close(NativeFile file) { return CloseHandle(file) != FALSE; }

bool MoveOver(const NativePath& from, const NativePath& to) {
  const auto move = [&] {
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  };
  for (const DWORD wait : kMoveRetryWaits) {
    if (move()) return true;
    if (!HeldByAnotherProgram(GetLastError())) return false;
    Sleep(wait);
  }
  return move();
}

bool Delete(const NativePath& path) { return DeleteFileW(path.c_str()) != FALSE; }

// The move is written through (MOVEFILE_WRITE_THROUGH): nothing is left to flush.
void FlushFolder(const NativePath&) {}

// The file keeps its other attributes.
bool Reveal(const NativePath& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if ((attributes & FILE_ATTRIBUTE_HIDDEN) == 0) return true;
  return SetFileAttributesW(path.c_str(),
                            attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN)) != FALSE;
}

// A name that starts with '.' hides no file here: the attribute does.
void RevealLeftover(const NativePath& path) { Reveal(path); }

}  // namespace file_system

}  // namespace glimster
