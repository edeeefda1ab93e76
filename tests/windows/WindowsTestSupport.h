// What the Windows tests share: the plug-in file under test, the shell's
// desktop folder, an independent PNG decoder (the Windows Imaging Component),
// and import-table patches through which a test watches (or replaces) the
// system functions the loaded plug-in calls, so that no dialog is ever shown.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "substitute_host/Frame.h"

namespace glimster::windows_tests {

// Glimster.aex as given by --plugin=<path>.
const std::filesystem::path& PluginFile();
void SetPluginFile(std::filesystem::path file);

// The module of the plug-in once the substitute host loaded it; null before.
HMODULE LoadedPluginModule();

// The desktop folder as SHGetFolderPathW reports it (folder 16, current path).
std::filesystem::path ShellDesktopFolder();

// The names of all entries (files and folders) directly in `folder`.
std::vector<std::wstring> EntriesIn(const std::filesystem::path& folder);

// The entries of `folder` whose names start with `prefix`.
std::vector<std::wstring> EntriesStartingWith(const std::filesystem::path& folder,
                                              const std::wstring& prefix);

// A composition name (UTF-16) as a Windows file-name string.
std::wstring WideOf(const std::u16string& text);
// UTF-8 form of a Windows string, for messages.
std::string Utf8Of(const std::wstring& text);

// An image decoded to 8-bit red, green, blue, alpha, rows top first, no gaps.
struct DecodedImage {
  unsigned width = 0;
  unsigned height = 0;
  std::vector<std::uint8_t> rgba;
};

// Decodes a PNG file with the Windows Imaging Component (under Wine, Wine's
// own PNG codec); throws std::runtime_error naming the failing step.
DecodedImage DecodePngWithWic(const std::filesystem::path& file);

// A frame with colour gradients in every channel, a band of partial
// transparency, fully transparent and fully opaque pixels, and `padding`
// bytes of 0xAB at the end of each row.
substitute_host::Frame GradientFrame(A_long width, A_long height, A_long padding);

// The whole contents of `file` ("" when it cannot be read).
std::string ContentsOf(const std::filesystem::path& file);

// One import of a loaded module, redirected for the lifetime of the object.
class ImportPatch {
 public:
  // Redirects `module`'s import of `function` from `dll` to `replacement`;
  // throws std::runtime_error when the module does not import it by name.
  ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement);
  ~ImportPatch();
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;

  // The address the import held before.
  void* original() const { return original_; }

 private:
  void** slot_;
  void* original_;
};

// 2026-12-08 09:30:00 UTC, the time every capture test starts at, and the
// timestamp a capture then carries.
inline constexpr __time64_t kFixedNow = 1796722200;
inline constexpr wchar_t kFixedStamp[] = L"2026-12-08 09.30.00 AM";

}  // namespace glimster::windows_tests
