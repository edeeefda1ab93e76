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

std::wstring gFolder;
std::vector<std::string> gCalls;  // "create NAME", "write NAME", "flush NAME", ...
std::vector<DWORD> gCreateAttributes;
std::vector<DWORD> gCreateDispositions;
std::map<HANDLE, std::wstring> gOpen;
bool gFailNextReveal = false;
std::vector<DWORD> gMoveErrors;      // the next moves fail with these, one each
std::vector<DWORD> gWaits;           // the plug-in's Sleep calls, which return at once
std::vector<DWORD> gAttributesRead;  // what GetFileAttributesW answered for the folder's files
std::vector<DWORD> gAttributesSet;   // what SetFileAttributesW was given for them
constexpr DWORD kShortWrite = 4096;  // the most a write to a file in the folder takes

using CreateFileFunction = HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD,
                                           DWORD, HANDLE);
using WriteFileFunction = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
using HandleFunction = BOOL(WINAPI*)(HANDLE);
using MoveFileFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
using PathFunction = BOOL(WINAPI*)(LPCWSTR);
using AttributesFunction = BOOL(WINAPI*)(LPCWSTR, DWORD);
using GetAttributesFunction = DWORD(WINAPI*)(LPCWSTR);
CreateFileFunction gCreateFile;
WriteFileFunction gWriteFile;
HandleFunction gFlushFileBuffers;
HandleFunction gCloseHandle;
MoveFileFunction gMoveFile;
PathFunction gDeleteFile;
AttributesFunction gSetFileAttributes;
GetAttributesFunction gGetFileAttributes;

// The name of `path` (classic or extended form) in the desktop folder, or ""
// when it lies elsewhere.
std::string nameInFolder(LPCWSTR path) {
  std::wstring text = path != nullptr ? path : L"";
  if (text.rfind(L"\\\\?\\", 0) == 0) text.erase(0, 4);
  if (text.size() <= gFolder.size() + 1 || text.compare(0, gFolder.size(), gFolder) != 0) return "";
  const std::wstring name = text.substr(gFolder.size() + 1);
  return name.find_first_of(L"\\/") == std::wstring::npos ? utf8Of(name) : "";
}

void note(const std::string& call) {
  if (call.rfind("write ", 0) == 0 && !gCalls.empty() && gCalls.back() == call) return;
  gCalls.push_back(call);
}

std::string openName(HANDLE file) {
  const auto open = gOpen.find(file);
  return open != gOpen.end() ? utf8Of(open->second) : "";
}

HANDLE WINAPI recordCreateFile(LPCWSTR path, DWORD access, DWORD share,
                               LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD attributes,
                               HANDLE templ) {
  const HANDLE file = gCreateFile(path, access, share, security, disposition, attributes, templ);
  const DWORD error = GetLastError();
  const std::string name = nameInFolder(path);
  if (!name.empty()) {
    note("create " + name +
         (file == INVALID_HANDLE_VALUE ? (error == ERROR_FILE_EXISTS ? ": exists" : ": failed")
                                       : ""));
    gCreateAttributes.push_back(attributes);
    gCreateDispositions.push_back(disposition);
    if (file != INVALID_HANDLE_VALUE)
      gOpen[file] = std::filesystem::path(path).filename().wstring();
  }
  SetLastError(error);
  return file;
}

BOOL WINAPI recordWriteFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                            LPOVERLAPPED overlapped) {
  const std::string name = openName(file);
  if (!name.empty()) {
    note("write " + name);
    size = std::min(size, kShortWrite);
  }
  return gWriteFile(file, bytes, size, written, overlapped);
}

BOOL WINAPI recordFlushFileBuffers(HANDLE file) {
  if (!openName(file).empty()) {
    note("flush " + openName(file));
  }
  return gFlushFileBuffers(file);
}

BOOL WINAPI recordCloseHandle(HANDLE file) {
  if (!openName(file).empty()) {
    note("close " + openName(file));
    gOpen.erase(file);
  }
  return gCloseHandle(file);
}

BOOL WINAPI recordMoveFile(LPCWSTR from, LPCWSTR to, DWORD flags) {
  if (!nameInFolder(from).empty()) {
    note("move " + nameInFolder(from) + " -> " + nameInFolder(to));
    if (!gMoveErrors.empty()) {
      SetLastError(gMoveErrors.front());
      gMoveErrors.erase(gMoveErrors.begin());
      return FALSE;
    }
  }
  return gMoveFile(from, to, flags);
}

void WINAPI recordSleep(DWORD milliseconds) { gWaits.push_back(milliseconds); }

// A failure planned for the call on a file in the folder: it answers FALSE
// with `error`, doing nothing.
bool failsNow(bool& planned, LPCWSTR path, DWORD error) {
  if (!planned || nameInFolder(path).empty()) return false;
  planned = false;
  SetLastError(error);
  return true;
}

BOOL WINAPI recordDeleteFile(LPCWSTR path) {
  if (!nameInFolder(path).empty()) note("delete " + nameInFolder(path));
  return gDeleteFile(path);
}

// Notes the attribute changes that clear the hidden attribute.
BOOL WINAPI recordSetFileAttributes(LPCWSTR path, DWORD attributes) {
  if (!nameInFolder(path).empty()) gAttributesSet.push_back(attributes);
  if (!nameInFolder(path).empty() && (attributes & FILE_ATTRIBUTE_HIDDEN) == 0) {
    note("reveal " + nameInFolder(path));
    if (failsNow(gFailNextReveal, path, ERROR_ACCESS_DENIED)) return FALSE;
  }
  return gSetFileAttributes(path, attributes);
}

DWORD WINAPI recordGetFileAttributes(LPCWSTR path) {
  const DWORD attributes = gGetFileAttributes(path);
  if (!nameInFolder(path).empty()) gAttributesRead.push_back(attributes);
  return attributes;
}

// ---- The fixture ------------------------------------------------------------

class FileReplace : public capture_tests::CaptureFixture {
 protected:
  void SetUp() override {
    CaptureFixture::SetUp();
    gCalls.clear();
    gCreateAttributes.clear();
    gCreateDispositions.clear();
    gOpen.clear();
    gFailNextReveal = false;
    gMoveErrors.clear();
    gWaits.clear();
    gAttributesRead.clear();
    gAttributesSet.clear();
    const HMODULE module = loadedPluginModule();
    patch(module, "KERNEL32.dll", "CreateFileW", &recordCreateFile, gCreateFile);
    patch(module, "KERNEL32.dll", "WriteFile", &recordWriteFile, gWriteFile);
    patch(module, "KERNEL32.dll", "FlushFileBuffers", &recordFlushFileBuffers, gFlushFileBuffers);
    patch(module, "KERNEL32.dll", "CloseHandle", &recordCloseHandle, gCloseHandle);
    patch(module, "KERNEL32.dll", "MoveFileExW", &recordMoveFile, gMoveFile);
    patch(module, "KERNEL32.dll", "DeleteFileW", &recordDeleteFile, gDeleteFile);
    patch(module, "KERNEL32.dll", "SetFileAttributesW", &recordSetFileAttributes,
          gSetFileAttributes);
    patch(module, "KERNEL32.dll", "GetFileAttributesW", &recordGetFileAttributes,
          gGetFileAttributes);
    void(WINAPI * real_sleep)(DWORD) = nullptr;
    patch(module, "KERNEL32.dll", "Sleep", &recordSleep, real_sleep);
    gFolder = desktop_.wstring();
    comp_ = &ActivateComposition(u"Replaced whole", gradientFrame(6, 4, 0));
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
    gCalls.clear();
    EXPECT_EQ(Capture().result, A_Err_NONE);
    return entriesIn(desktop_);
  }

  // The temporary file the first recorded call created (or found taken).
  static std::string temporaryOf(const std::string& call) {
    const std::size_t end = call.find(':');
    return call.rfind("create ", 0) == 0 ? call.substr(7, end == std::string::npos ? end : end - 7)
                                         : "";
  }

  std::vector<std::unique_ptr<ImportPatch>> patches_;
  substitute_host::Item* comp_ = nullptr;
};

// Noise: a PNG of about 16 KiB, written in short writes.
TEST_F(FileReplace, WritesAHiddenNewFileFlushesClosesRevealsAndMovesItToTheTarget) {
  comp_ = &ActivateComposition(u"Short writes", substitute_host::noiseFrame(64, 64, 5));
  const std::vector<std::wstring> added = capture();
  ASSERT_EQ(added.size(), 1u);
  const std::string temporary = temporaryOf(gCalls.at(0));
  const std::string target = utf8Of(added[0]);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"create " + temporary, "write " + temporary,
                                              "flush " + temporary, "close " + temporary,
                                              "reveal " + temporary,
                                              "move " + temporary + " -> " + target}));
  // No longer than the shortest name a capture can have (" 2026-12-08 21.30.00.png").
  EXPECT_LE(temporary.size(), 24u);
  EXPECT_EQ(gCreateDispositions.at(0), static_cast<DWORD>(CREATE_NEW));
  EXPECT_NE(gCreateAttributes.at(0) & FILE_ATTRIBUTE_HIDDEN, 0u);
  // Only the hidden attribute is cleared: the others (here the archive bit,
  // which Wine gives a new file) stay.
  EXPECT_EQ(gAttributesRead, std::vector<DWORD>{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE});
  EXPECT_EQ(gAttributesSet, std::vector<DWORD>{FILE_ATTRIBUTE_ARCHIVE});
  const DWORD attributes = GetFileAttributesW((desktop_ / added[0]).c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(decodePngWithWic(desktop_ / added[0]).rgba, test_support::RgbaOf(*comp_->frame).pixels);
}

// A temporary that cannot be revealed is deleted: never a hidden file
// left behind. (Each failing call, on every binary: the shared
// FileCallFailureTest; the policy: FileReplacePolicyTest.)
TEST_F(FileReplace, ATemporaryThatCannotBeRevealedIsDeleted) {
  gFailNextReveal = true;
  const std::vector<std::wstring> added = capture();
  const std::string temporary = temporaryOf(gCalls.at(0));
  EXPECT_EQ(gCalls, (std::vector<std::string>{"create " + temporary, "write " + temporary,
                                              "flush " + temporary, "close " + temporary,
                                              "reveal " + temporary, "delete " + temporary}));
  EXPECT_TRUE(added.empty()) << utf8Of(added.front());
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
  const DWORD kWaits[] = {50, 100};  // before the second and the third move
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    gMoveErrors = c.refusals;
    gWaits.clear();
    const std::size_t reports_before = host_->reports().size();
    const std::vector<std::wstring> added = capture();
    const auto moves = static_cast<std::size_t>(
        std::count_if(gCalls.begin(), gCalls.end(),
                      [](const std::string& call) { return call.rfind("move ", 0) == 0; }));
    EXPECT_EQ(gWaits.size(), moves - 1);  // one wait before each new try
    if (c.saved) {
      EXPECT_EQ(moves, c.refusals.size() + 1);
      EXPECT_EQ(gWaits, std::vector<DWORD>(kWaits, kWaits + c.refusals.size()));
      EXPECT_EQ(added.size(), 1u);
      EXPECT_EQ(host_->reports().size(), reports_before);
      for (const std::wstring& name : added) std::filesystem::remove(desktop_ / name);
      continue;
    }
    EXPECT_TRUE(added.empty());
    ASSERT_EQ(host_->reports().size(), reports_before + 1);
    EXPECT_NE(host_->reports().back().find("(error 79)"), std::string::npos);
    EXPECT_EQ(gCalls.back(), "delete " + temporaryOf(gCalls.at(0)));
    if (c.refusals.size() == 1) {
      EXPECT_EQ(moves, 1u);
      continue;
    }
    // Six tries over a second, the waits growing: a program that lets go at
    // once is not kept waiting long, one that holds on is given time.
    EXPECT_EQ(gWaits, (std::vector<DWORD>{50, 100, 200, 300, 350}));
  }
  gMoveErrors.clear();
}

}  // namespace
}  // namespace glimster::windows_tests
