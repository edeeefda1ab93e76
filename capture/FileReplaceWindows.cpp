#include <windows.h>
#include <bcrypt.h>

#include <cstdint>
#include <cwchar>

#include "capture/FileReplace.h"

namespace {

// How many fresh temporary names are tried before the folder counts as unwritable.
constexpr int kTemporaryNameAttempts = 16;

std::wstring Wide(const std::string& utf8) {
  const int units =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), units);
  return wide;
}

// `path` in the extended form (\\?\C:\... or \\?\UNC\server\share\...),
// which the file functions take past the classic 260-character limit: a
// desktop path plus a file name of 255 units is longer than that. Only a
// plain absolute path with backslashes is given that form, since the
// extended form takes every character literally; any other stays as it is.
std::wstring ExtendedLengthPath(const std::wstring& path) {
  const bool plain = path.find(L'/') == std::wstring::npos &&
                     path.find(L"\\.\\") == std::wstring::npos &&
                     path.find(L"\\..\\") == std::wstring::npos;
  if (!plain) return path;
  const bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
                     ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
  if (drive) return L"\\\\?\\" + path;
  const bool share =
      path.size() > 2 && path.compare(0, 2, L"\\\\") == 0 && path[2] != L'?' && path[2] != L'.';
  if (share) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? L"." : path.substr(0, separator);
}

// 48 bits nobody can predict. Should the system have none to give, the
// process id, the tick count and a count still make every name differ from the last.
std::uint64_t RandomBits() {
  std::uint64_t bits = 0;
  if (!BCRYPT_SUCCESS(BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&bits), sizeof bits,
                                      BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
    static volatile LONG count = 0;
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    bits = (static_cast<std::uint64_t>(GetCurrentProcessId()) << 32) ^
           static_cast<std::uint64_t>(now.QuadPart) ^
           (static_cast<std::uint64_t>(InterlockedIncrement(&count)) << 20);
  }
  return bits & 0xFFFFFFFFFFFFull;
}

// A fresh name in `folder`: ".glimster-" and 12 hex digits ".tmp", 26
// characters, shorter than any capture's own name.
std::wstring TemporaryPathIn(const std::wstring& folder) {
  wchar_t name[40];
  std::swprintf(name, 40, L"\\.glimster-%012llx.tmp",
                static_cast<unsigned long long>(RandomBits()));
  return folder + name;
}

// Creates a hidden temporary file of its own in `folder`, retrying with a
// fresh name while one is taken; gives its handle, or INVALID_HANDLE_VALUE
// when none can be created.
HANDLE CreateTemporaryIn(const std::wstring& folder, std::wstring& temporary) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    temporary = TemporaryPathIn(folder);
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, const unsigned char* bytes, std::size_t size) {
  while (size > 0) {
    const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

// The file at `path` as an ordinary visible one; it keeps its other attributes.
void Unhide(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0) {
    SetFileAttributesW(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
  }
}

}  // namespace

FileReplaceResult ReplaceFileWhole(const std::string& utf8_path, const unsigned char* bytes,
                                   std::size_t size) {
  const std::wstring target = ExtendedLengthPath(Wide(utf8_path));
  std::wstring temporary;
  const HANDLE file = CreateTemporaryIn(FolderOf(target), temporary);
  if (file == INVALID_HANDLE_VALUE) return FileReplaceResult::OpenFailed;

  bool written = WriteAll(file, bytes, size) && FlushFileBuffers(file);
  written = CloseHandle(file) && written;
  if (!written) {
    DeleteFileW(temporary.c_str());
    return FileReplaceResult::WriteFailed;
  }
  // The bytes are safe on disk; what fails now is the name itself (reserved,
  // too long, a folder in the way): the file cannot be created there.
  if (!MoveFileExW(temporary.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return FileReplaceResult::OpenFailed;
  }
  Unhide(target);
  return FileReplaceResult::Replaced;
}
