// How Glimster.aex puts the PNG on the desktop, watched at its imports: a
// hidden temporary file created new, written (each write taking at most
// 4 KiB, as a short write does), flushed, closed, revealed
// (keeping its other attributes) and moved over the target, the move tried
// again while another program holds a file for a moment, waiting longer each
// time; a failing step closes the file and deletes it, and one that cannot
// be deleted is revealed. (Leftovers of killed captures, on every binary:
// TemporaryFileTest.)
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "substitute_host/FrameSources.h"
#include "tests/capture/CaptureFixture.h"
#include "tests/support/CaptureExpectations.h"
#include "tests/windows/WindowsTestSupport.h"

namespace glimster::windows_tests {
namespace {

// ---- The plug-in's file calls on the desktop, in order ----------------------

std::wstring g_folder;
std::vector<std::string> g_calls;  // "create NAME", "write NAME", "flush NAME", ...
std::vector<DWORD> g_create_attributes;
std::vector<DWORD> g_create_dispositions;
std::map<HANDLE, std::wstring> g_open;
bool g_fail_next_reveal = false;
std::vector<DWORD> g_move_errors;      // the next moves fail with these, one each
std::vector<DWORD> g_waits;            // the plug-in's Sleep calls, which return at once
std::vector<DWORD> g_attributes_read;  // what GetFileAttributesW answered for the folder's files
std::vector<DWORD> g_attributes_set;   // what SetFileAttributesW was given for them
constexpr DWORD kShortWrite = 4096;    // the most a write to a file in the folder takes

using CreateFileFunction = HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD,
                                           DWORD, HANDLE);
using WriteFileFunction = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
using HandleFunction = BOOL(WINAPI*)(HANDLE);
using MoveFileFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
using PathFunction = BOOL(WINAPI*)(LPCWSTR);
using AttributesFunction = BOOL(WINAPI*)(LPCWSTR, DWORD);
using GetAttributesFunction = DWORD(WINAPI*)(LPCWSTR);
CreateFileFunction g_create_file;
WriteFileFunction g_write_file;
HandleFunction g_flush_file_buffers;
HandleFunction g_close_handle;
MoveFileFunction g_move_file;
PathFunction g_delete_file;
AttributesFunction g_set_file_attributes;
GetAttributesFunction g_get_file_attributes;

// The name of `path` (classic or extended form) in the desktop folder, or ""
// when it lies elsewhere.
std::string NameInFolder(LPCWSTR path) {
  std::wstring text = path != nullptr ? path : L"";
  if (text.rfind(L"\\\\?\\", 0) == 0) text.erase(0, 4);
  if (text.size() <= g_folder.size() + 1 || text.compare(0, g_folder.size(), g_folder) != 0)
    return "";
  const std::wstring name = text.substr(g_folder.size() + 1);
  return name.find_first_of(L"\\/") == std::wstring::npos ? Utf8Of(name) : "";
}

void note(const std::string& call) {
  if (call.rfind("write ", 0) == 0 && !g_calls.empty() && g_calls.back() == call) return;
  g_calls.push_back(call);
}

std::string OpenName(HANDLE file) {
  const auto open = g_open.find(file);
  return open != g_open.end() ? Utf8Of(open->second) : "";
}

HANDLE WINAPI RecordCreateFile(LPCWSTR path, DWORD access, DWORD share,
                               LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD attributes,
                               HANDLE templ) {
  const HANDLE file = g_create_file(path, access, share, security, disposition, attributes, templ);
  const DWORD error = GetLastError();
  const std::string name = NameInFolder(path);
  if (!name.empty()) {
    note("create " + name +
         (file == INVALID_HANDLE_VALUE ? (error == ERROR_FILE_EXISTS ? ": exists" : ": failed")
                                       : ""));
    g_create_attributes.push_back(attributes);
    g_create_dispositions.push_back(disposition);
    if (file != INVALID_HANDLE_VALUE)
      g_open[file] = std::filesystem::path(path).filename().wstring();
  }
  SetLastError(error);
  return file;
}

BOOL WINAPI RecordWriteFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                            LPOVERLAPPED overlapped) {
  const std::string name = OpenName(file);
  if (!name.empty()) {
    note("write " + name);
    size = std::min(size, kShortWrite);
  }
  return g_write_file(file, bytes, size, written, overlapped);
}

BOOL WINAPI RecordFlushFileBuffers(HANDLE file) {
  if (!OpenName(file).empty()) {
    note("flush " + OpenName(file));
  }
  return g_flush_file_buffers(file);
}

BOOL WINAPI RecordCloseHandle(HANDLE file) {
  if (!OpenName(file).empty()) {
    note("close " + OpenName(file));
    g_open.erase(file);
  }
  return g_close_handle(file);
}

BOOL WINAPI RecordMoveFile(LPCWSTR from, LPCWSTR to, DWORD flags) {
  if (!NameInFolder(from).empty()) {
    note("move " + NameInFolder(from) + " -> " + NameInFolder(to));
    if (!g_move_errors.empty()) {
      SetLastError(g_move_errors.front());
      g_move_errors.erase(g_move_errors.begin());
      return FALSE;
    }
  }
  return g_move_file(from, to, flags);
}

void WINAPI RecordSleep(DWORD milliseconds) { g_waits.push_back(milliseconds); }

// A failure planned for the call on a file in the folder: it answers FALSE
// with `error`, doing nothing.
bool FailsNow(bool& planned, LPCWSTR path, DWORD error) {
  if (!planned || NameInFolder(path).empty()) return false;
  planned = false;
  SetLastError(error);
  return true;
}

BOOL WINAPI RecordDeleteFile(LPCWSTR path) {
  if (!NameInFolder(path).empty()) note("delete " + NameInFolder(path));
  return g_delete_file(path);
}

// Notes the attribute changes that clear the hidden attribute.
BOOL WINAPI RecordSetFileAttributes(LPCWSTR path, DWORD attributes) {
  if (!NameInFolder(path).empty()) g_attributes_set.push_back(attributes);
  if (!NameInFolder(path).empty() && (attributes & FILE_ATTRIBUTE_HIDDEN) == 0) {
    note("reveal " + NameInFolder(path));
    if (FailsNow(g_fail_next_reveal, path, ERROR_ACCESS_DENIED)) return FALSE;
  }
  return g_set_file_attributes(path, attributes);
}

DWORD WINAPI RecordGetFileAttributes(LPCWSTR path) {
  const DWORD attributes = g_get_file_attributes(path);
  if (!NameInFolder(path).empty()) g_attributes_read.push_back(attributes);
  return attributes;
}

// ---- The fixture ------------------------------------------------------------

class FileReplace : public capture_tests::CaptureFixture {
 protected:
  void SetUp() override {
    CaptureFixture::SetUp();
    g_calls.clear();
    g_create_attributes.clear();
    g_create_dispositions.clear();
    g_open.clear();
    g_fail_next_reveal = false;
    g_move_errors.clear();
    g_waits.clear();
    g_attributes_read.clear();
    g_attributes_set.clear();
    const HMODULE module = LoadedPluginModule();
    patch(module, "KERNEL32.dll", "CreateFileW", &RecordCreateFile, g_create_file);
    patch(module, "KERNEL32.dll", "WriteFile", &RecordWriteFile, g_write_file);
    patch(module, "KERNEL32.dll", "FlushFileBuffers", &RecordFlushFileBuffers,
          g_flush_file_buffers);
    patch(module, "KERNEL32.dll", "CloseHandle", &RecordCloseHandle, g_close_handle);
    patch(module, "KERNEL32.dll", "MoveFileExW", &RecordMoveFile, g_move_file);
    patch(module, "KERNEL32.dll", "DeleteFileW", &RecordDeleteFile, g_delete_file);
    patch(module, "KERNEL32.dll", "SetFileAttributesW", &RecordSetFileAttributes,
          g_set_file_attributes);
    patch(module, "KERNEL32.dll", "GetFileAttributesW", &RecordGetFileAttributes,
          g_get_file_attributes);
    void(WINAPI * real_sleep)(DWORD) = nullptr;
    patch(module, "KERNEL32.dll", "Sleep", &RecordSleep, real_sleep);
    g_folder = desktop_.wstring();
    comp_ = &ActivateComposition(u"Replaced whole", capture_tests::GradientFrame(6, 4, 0, false));
  }

  void TearDown() override {
    patches_.clear();
    CaptureFixture::TearDown();
  }

  template <typename Function, typename Replacement>
  void patch(HMODULE module, const char* dll, const char* function, Replacement* replacement,
             Function& original) {
    patches_.push_back(
        std::make_unique<ImportPatch>(module, dll, function, reinterpret_cast<void*>(replacement)));
    original = reinterpret_cast<Function>(patches_.back()->original());
  }

  // Chooses "Take Glimster"; gives the desktop's entries, which were none before.
  std::vector<std::wstring> capture() {
    g_calls.clear();
    EXPECT_EQ(Capture().result, A_Err_NONE);
    return EntriesIn(desktop_);
  }

  // The temporary file the first recorded call created (or found taken).
  static std::string TemporaryOf(const std::string& call) {
    const std::size_t end = call.find(':');
    return call.rfind("create ", 0) == 0 ? call.substr(7, end == std::string::npos ? end : end - 7)
                                         : "";
  }

  std::vector<std::unique_ptr<ImportPatch>> patches_;
  substitute_host::Item* comp_ = nullptr;
};

// Noise: a PNG of about 16 KiB, written in short writes.
TEST_F(FileReplace, WritesAHiddenNewFileFlushesClosesRevealsAndMovesItToTheTarget) {
  comp_ = &ActivateComposition(u"Short writes", substitute_host::NoiseFrame(64, 64, 5));
  const std::vector<std::wstring> added = capture();
  ASSERT_EQ(added.size(), 1u);
  const std::string temporary = TemporaryOf(g_calls.at(0));
  const std::string target = Utf8Of(added[0]);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"create " + temporary, "write " + temporary,
                                               "flush " + temporary, "close " + temporary,
                                               "reveal " + temporary,
                                               "move " + temporary + " -> " + target}));
  // No longer than the shortest name a capture can have (" 2026-12-08 21.30.00.png").
  EXPECT_LE(temporary.size(), 24u);
  EXPECT_EQ(g_create_dispositions.at(0), static_cast<DWORD>(CREATE_NEW));
  EXPECT_NE(g_create_attributes.at(0) & FILE_ATTRIBUTE_HIDDEN, 0u);
  // Only the hidden attribute is cleared: the others (here the archive bit,
  // which Wine gives a new file) stay.
  EXPECT_EQ(g_attributes_read, std::vector<DWORD>{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE});
  EXPECT_EQ(g_attributes_set, std::vector<DWORD>{FILE_ATTRIBUTE_ARCHIVE});
  const DWORD attributes = GetFileAttributesW((desktop_ / added[0]).c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
  const std::optional<test_support::Rgba8> written = test_support::DecodePng(desktop_ / added[0]);
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(written->pixels, test_support::RgbaOf(*comp_->frame).pixels);
}

// A temporary that cannot be revealed is deleted: never a hidden file
// left behind. (Each failing call, on every binary: the shared
// FileCallFailureTest; the policy: FileReplacePolicyTest.)
TEST_F(FileReplace, ATemporaryThatCannotBeRevealedIsDeleted) {
  g_fail_next_reveal = true;
  const std::vector<std::wstring> added = capture();
  const std::string temporary = TemporaryOf(g_calls.at(0));
  EXPECT_EQ(g_calls, (std::vector<std::string>{"create " + temporary, "write " + temporary,
                                               "flush " + temporary, "close " + temporary,
                                               "reveal " + temporary, "delete " + temporary}));
  EXPECT_TRUE(added.empty()) << Utf8Of(added.front());
  ASSERT_EQ(host_->reports().size(), 1u);
  EXPECT_NE(host_->reports().back().find("(error 1000)"), std::string::npos);
}

// A virus scanner, an indexer or a sync client that has a file open for a
// moment makes the move fail with a sharing violation or access denied: it
// is tried again for about a second (the waits return at once here). Any
// other error ends the capture at once.
TEST_F(FileReplace, AMoveAnotherProgramRefusesIsTriedAgainForAboutASecond) {
  const struct {
    const char* what;
    std::vector<DWORD> refusals;  // of the first moves
    bool saved;
  } cases[] = {
      {"a sharing violation, twice", {ERROR_SHARING_VIOLATION, ERROR_SHARING_VIOLATION}, true},
      {"access denied, once", {ERROR_ACCESS_DENIED}, true},
      {"a sharing violation all along", std::vector<DWORD>(100, ERROR_SHARING_VIOLATION), false},
      {"access denied all along", std::vector<DWORD>(100, ERROR_ACCESS_DENIED), false},
      {"a missing folder", {ERROR_PATH_NOT_FOUND}, false},
  };
  const DWORD k_waits[] = {50, 100};  // before the second and the third move
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    g_move_errors = c.refusals;
    g_waits.clear();
    const std::size_t reports_before = host_->reports().size();
    const std::vector<std::wstring> added = capture();
    const auto moves = static_cast<std::size_t>(
        std::count_if(g_calls.begin(), g_calls.end(),
                      [](const std::string& call) { return call.rfind("move ", 0) == 0; }));
    EXPECT_EQ(g_waits.size(), moves - 1);  // one wait before each new try
    if (c.saved) {
      EXPECT_EQ(moves, c.refusals.size() + 1);
      EXPECT_EQ(g_waits, std::vector<DWORD>(k_waits, k_waits + c.refusals.size()));
      EXPECT_EQ(added.size(), 1u);
      EXPECT_EQ(host_->reports().size(), reports_before);
      for (const std::wstring& name : added) std::filesystem::remove(desktop_ / name);
      continue;
    }
    EXPECT_TRUE(added.empty());
    ASSERT_EQ(host_->reports().size(), reports_before + 1);
    EXPECT_NE(host_->reports().back().find("(error 79)"), std::string::npos);
    EXPECT_EQ(g_calls.back(), "delete " + TemporaryOf(g_calls.at(0)));
    if (c.refusals.size() == 1) {
      EXPECT_EQ(moves, 1u);
      continue;
    }
    // Six tries over a second, the waits growing: a program that lets go at
    // once is not kept waiting long, one that holds on is given time.
    EXPECT_EQ(g_waits, (std::vector<DWORD>{50, 100, 200, 300, 350}));
  }
  g_move_errors.clear();
}

}  // namespace
}  // namespace glimster::windows_tests
