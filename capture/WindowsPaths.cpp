#include "capture/WindowsPaths.h"

#include <windows.h>

namespace glimster {

namespace {

constexpr wchar_t kExtended[] = L"\\\\?\\";
constexpr wchar_t kNtPrefix[] = L"\\??\\";  // the system's own spelling of the extended prefix
constexpr wchar_t kDevice[] = L"\\\\.\\";
constexpr wchar_t kShare[] = L"\\\\";

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.rfind(prefix, 0) == 0;
}

// `path` made whole by Windows; empty when it cannot be.
std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return {};
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return {};
  full.resize(length);
  return full;
}

}  // namespace

std::wstring ExtendedLengthPath(const std::wstring& path) {
  if (StartsWith(path, kExtended)) return path;
  if (StartsWith(path, kNtPrefix)) return kExtended + path.substr(4);
  const std::wstring full = FullPath(path);
  // The prefix written with '/' for some of its separators: made whole, it is
  // the prefix again.
  if (StartsWith(full, kExtended)) return full;
  if (StartsWith(full, kDevice)) return kExtended + full.substr(4);
  if (StartsWith(full, kShare)) {
    // \\server\share; more backslashes before the server are one separator too.
    const std::size_t server = full.find_first_not_of(L'\\', 2);
    if (server == std::wstring::npos) return {};
    return std::wstring(kExtended) + L"UNC\\" + full.substr(server);
  }
  const bool drive = full.size() >= 3 && full[1] == L':' && full[2] == L'\\';
  return drive ? kExtended + full : std::wstring();
}

}  // namespace glimster
