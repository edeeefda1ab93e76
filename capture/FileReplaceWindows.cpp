#include <windows.h>

#include <atomic>
#include <cwchar>

#include "capture/FileReplace.h"

namespace {

std::wstring Wide(const std::string& utf8) {
  const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                        nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), units);
  return wide;
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? L"." : path.substr(0, separator);
}

// A name in `folder` that no other capture of this process uses.
std::wstring TemporaryPathIn(const std::wstring& folder) {
  static std::atomic<unsigned> counter{0};
  wchar_t name[64];
  std::swprintf(name, 64, L"\\.glimster-%lu-%u.tmp", GetCurrentProcessId(), counter.fetch_add(1));
  return folder + name;
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

}  // namespace

FileReplaceResult ReplaceFileWhole(const std::string& utf8_path, const unsigned char* bytes,
                                   std::size_t size) {
  const std::wstring target = Wide(utf8_path);
  const std::wstring temporary = TemporaryPathIn(FolderOf(target));
  const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
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
  return FileReplaceResult::Replaced;
}
