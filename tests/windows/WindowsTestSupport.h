// What the Windows tests share: the plug-in file under test and import-table
// patches through which a test watches (or replaces) the system functions
// the loaded plug-in calls, so that no dialog is ever shown.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace glimster::windows_tests {

// Glimster.aex as given by --plugin=<path>.
const std::filesystem::path& PluginFile();
void SetPluginFile(std::filesystem::path file);

// The module of the plug-in once the substitute host loaded it; null before.
HMODULE LoadedPluginModule();

// The names of all entries (files and folders) directly in `folder`.
std::vector<std::wstring> EntriesIn(const std::filesystem::path& folder);

// UTF-8 form of a Windows string, for messages.
std::string Utf8Of(const std::wstring& text);

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

}  // namespace glimster::windows_tests
