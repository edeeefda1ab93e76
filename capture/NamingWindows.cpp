// Output naming on Windows.
#include <windows.h>
#include <shlobj.h>

#include "capture/NamingPlatform.h"

namespace glimster {

namespace {

// Longest desktop folder taken, in UTF-8 bytes.
constexpr int kMaxDesktopBytes = 1040;

std::optional<std::string> NameToUtf8(const std::u16string& name) {
  const auto* wide = reinterpret_cast<const wchar_t*>(name.c_str());
  const int units = lstrlenW(wide);
  if (units == 0) return std::string();
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::nullopt;
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, units, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}

DesktopLookup DesktopFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  if (SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, folder) !=
      S_OK) {
    return {DesktopLookup::Status::kUnavailable, {}};
  }
  char utf8[kMaxDesktopBytes + 1] = {};
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, folder, lstrlenW(folder), utf8,
                                        kMaxDesktopBytes, nullptr, nullptr);
  if (bytes < 1) return {DesktopLookup::Status::kUnconvertible, {}};
  return {DesktopLookup::Status::kFound, std::string(utf8, static_cast<std::size_t>(bytes))};
}

void ShowMessage(const char* text, const char* caption) {
  const int text_units = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  const int caption_units = MultiByteToWideChar(CP_UTF8, 0, caption, -1, nullptr, 0);
  std::wstring wide_text(static_cast<std::size_t>(text_units), L'\0');
  std::wstring wide_caption(static_cast<std::size_t>(caption_units), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, wide_text.data(), text_units);
  MultiByteToWideChar(CP_UTF8, 0, caption, -1, wide_caption.data(), caption_units);
  MessageBoxW(nullptr, wide_text.c_str(), wide_caption.c_str(), MB_OK);
}

constexpr NamingPlatform WindowsNaming() {
  NamingPlatform platform{};
  platform.name_to_utf8 = NameToUtf8;
  platform.desktop_folder = DesktopFolder;
  platform.show_message = ShowMessage;
  platform.path_separator = '\\';
  platform.reserved = ReservedNames::kWindows;
  platform.file_name_unit = FileNameUnit::kUtf16Unit;
  return platform;
}

}  // namespace

const NamingPlatform kNativeNamingPlatform = WindowsNaming();

}  // namespace glimster
