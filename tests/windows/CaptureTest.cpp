// "Take Glimster" through Glimster.aex in the substitute host, under Windows
// file names and folders: the PNG lands in the desktop folder that
// SHGetFolderPathW reports, named after the composition and the local time.
//
// The plug-in's own imports of SHGetFolderPathW and MessageBoxW are redirected
// to recorders for every test: the desktop lookup passes through to Windows
// (unless a test makes it fail), and a message box is only recorded, never
// shown. Its clock is fixed by the probe: 2026-12-08 09:30:00, in UTC.
#include <gtest/gtest.h>

#include <windows.h>
#include <malloc.h>
#include <shlobj.h>

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "substitute_host/FrameSources.h"
#include "substitute_host/Host.h"
#include "substitute_host/PluginBinary.h"
#include "tests/support/CaptureExpectations.h"
#include "tests/support/Probe.h"
#include "tests/windows/WindowsTestSupport.h"

namespace glimster::windows_tests {
namespace {

using substitute_host::Frame;
using substitute_host::Host;
using substitute_host::PluginBinary;
using test_support::ReportedOnce;

// ---- What the plug-in asked of Windows ------------------------------------

struct MessageBoxCall {
  HWND owner;
  std::wstring text;
  std::wstring caption;
  UINT type;
};

struct FolderRequest {
  HWND owner;
  int folder;
  HANDLE token;
  DWORD flags;
};

struct FileMove {
  std::wstring from;
  std::wstring to;
  DWORD flags;
};

enum class DesktopAnswer { Windows, Failure, Elsewhere };

std::vector<MessageBoxCall> gMessageBoxes;
std::vector<FolderRequest> gFolderRequests;
std::vector<FileMove> gFileMoves;
DesktopAnswer gDesktopAnswer = DesktopAnswer::Windows;
std::wstring gElsewhere;
using FolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
FolderPathFunction gWindowsFolderPath = nullptr;
using MoveFileFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
MoveFileFunction gWindowsMoveFile = nullptr;

int WINAPI recordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  gMessageBoxes.push_back(
      {owner, text != nullptr ? text : L"", caption != nullptr ? caption : L"", type});
  return IDOK;
}

HRESULT WINAPI answerFolderPath(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path) {
  gFolderRequests.push_back({owner, folder, token, flags});
  switch (gDesktopAnswer) {
    case DesktopAnswer::Failure:
      return E_FAIL;
    case DesktopAnswer::Elsewhere:
      lstrcpynW(path, gElsewhere.c_str(), MAX_PATH);
      return S_OK;
    case DesktopAnswer::Windows:
      break;
  }
  return gWindowsFolderPath(owner, folder, token, flags, path);
}

BOOL WINAPI recordMoveFile(LPCWSTR from, LPCWSTR to, DWORD flags) {
  gFileMoves.push_back({from != nullptr ? from : L"", to != nullptr ? to : L"", flags});
  return gWindowsMoveFile(from, to, flags);
}

// ---- A ceiling on the plug-in's heap -------------------------------------------

// The plug-in's own imports of malloc, realloc and free are redirected here:
// a request that would take the bytes it holds past the ceiling fails, as
// when memory runs out.
std::size_t gHeapCeiling = SIZE_MAX;
long long gHeapHeld = 0;  // by the plug-in, counted since the redirection
long long gHeapPeak = 0;

void countHeld(long long change) {
  gHeapHeld += change;
  gHeapPeak = std::max(gHeapPeak, gHeapHeld);
}

bool fitsUnderCeiling(long long held, std::size_t size) {
  return held < 0 || static_cast<unsigned long long>(held) + size <= gHeapCeiling;
}

void* ceilingMalloc(std::size_t size) {
  void* block = fitsUnderCeiling(gHeapHeld, size) ? std::malloc(size) : nullptr;
  if (block != nullptr) countHeld(static_cast<long long>(_msize(block)));
  return block;
}

void* ceilingRealloc(void* block, std::size_t size) {
  const long long before = block != nullptr ? static_cast<long long>(_msize(block)) : 0;
  void* moved = fitsUnderCeiling(gHeapHeld - before, size) ? std::realloc(block, size) : nullptr;
  if (moved != nullptr) countHeld(static_cast<long long>(_msize(moved)) - before);
  return moved;
}

void ceilingFree(void* block) {
  if (block != nullptr) countHeld(-static_cast<long long>(_msize(block)));
  std::free(block);
}

// ---- The fixture -------------------------------------------------------------

class Capture : public testing::Test {
 protected:
  void SetUp() override {
    gMessageBoxes.clear();
    gFolderRequests.clear();
    gFileMoves.clear();
    gDesktopAnswer = DesktopAnswer::Windows;
    plugin_ = std::make_unique<PluginBinary>(pluginFile());
    HMODULE module = loadedPluginModule();
    ASSERT_NE(module, nullptr);
    messageBoxPatch_ = std::make_unique<ImportPatch>(module, "USER32.dll", "MessageBoxW",
                                                     reinterpret_cast<void*>(&recordMessageBox));
    folderPatch_ = std::make_unique<ImportPatch>(module, "SHELL32.dll", "SHGetFolderPathW",
                                                 reinterpret_cast<void*>(&answerFolderPath));
    gWindowsFolderPath = reinterpret_cast<FolderPathFunction>(folderPatch_->original());
    moveFilePatch_ = std::make_unique<ImportPatch>(module, "KERNEL32.dll", "MoveFileExW",
                                                   reinterpret_cast<void*>(&recordMoveFile));
    gWindowsMoveFile = reinterpret_cast<MoveFileFunction>(moveFilePatch_->original());
    probe::Attach();  // the clock fixed, in UTC
    ASSERT_EQ(host_.runEntry(*plugin_), A_Err_NONE);
    desktop_ = shellDesktopFolder();
  }

  void TearDown() override {
    EXPECT_TRUE(host_.outstanding().none()) << host_.outstanding().describe();
    EXPECT_TRUE(host_.problems().empty()) << host_.problems().front();
    for (const std::wstring& entry : written_) std::filesystem::remove(desktop_ / entry);
  }

  // Makes a composition of this name and frame the active item and chooses
  // "Take Glimster"; notes the desktop entries that appeared and what went
  // to standard output.
  substitute_host::CommandOutcome capture(const std::u16string& name, Frame frame) {
    substitute_host::Item& comp =
        host_.project().addComposition(name, std::move(frame), A_Time{5, 30});
    host_.project().setActive(&comp);
    const std::vector<std::wstring> before = entriesIn(desktop_);
    const std::size_t reports_before = host_.reports().size();
    // The plug-in writes through the same C runtime as this program
    // (msvcrt.dll in the mingw-w64 build): its line is caught here.
    testing::internal::CaptureStdout();
    const substitute_host::CommandOutcome outcome = host_.issueMenuCommand("Take Glimster");
    stdout_ = testing::internal::GetCapturedStdout();
    reports_.assign(host_.reports().begin() + static_cast<std::ptrdiff_t>(reports_before),
                    host_.reports().end());
    written_.clear();
    for (const std::wstring& entry : entriesIn(desktop_)) {
      if (std::find(before.begin(), before.end(), entry) == before.end()) written_.push_back(entry);
    }
    return outcome;
  }

  // Whether the PNG `file_name` on the desktop decodes to exactly `frame`'s pixels.
  ::testing::AssertionResult decodesTo(const std::wstring& file_name, const Frame& frame) const {
    const DecodedImage image = decodePngWithWic(desktop_ / file_name);
    const test_support::Rgba8 expected = test_support::RgbaOf(frame);
    if (image.width != expected.width || image.height != expected.height) {
      return ::testing::AssertionFailure()
             << "decoded " << image.width << "x" << image.height << ", rendered " << expected.width
             << "x" << expected.height;
    }
    const auto mismatch =
        std::mismatch(image.rgba.begin(), image.rgba.end(), expected.pixels.begin());
    if (mismatch.first != image.rgba.end()) {
      const auto at = static_cast<std::size_t>(mismatch.first - image.rgba.begin());
      return ::testing::AssertionFailure()
             << "pixel " << at / 4 << " channel " << at % 4 << ": decoded " << int(*mismatch.first)
             << ", rendered " << int(*mismatch.second);
    }
    return ::testing::AssertionSuccess();
  }

  std::unique_ptr<PluginBinary> plugin_;
  std::unique_ptr<ImportPatch> messageBoxPatch_;
  std::unique_ptr<ImportPatch> folderPatch_;
  std::unique_ptr<ImportPatch> moveFilePatch_;
  Host host_;
  std::filesystem::path desktop_;
  std::string stdout_;
  std::vector<std::string> reports_;  // shown during the last capture
  std::vector<std::wstring> written_;
};

// The file name a capture of `name` gets at the fixed time.
std::wstring fileNameFor(const std::wstring& name) { return name + L" " + kFixedStamp + L".png"; }

// ---- The tests -----------------------------------------------------------------

TEST_F(Capture, WritesTheFrameOfANonAsciiNamedCompositionToTheShellDesktop) {
  const std::u16string name =
      u"Kompoz\u00edcia \u03a9\u03bc\u03ad\u03b3\u03b1 \u65e5\u672c \U0001F3AC";
  const Frame frame = gradientFrame(67, 41, 24);

  const substitute_host::CommandOutcome outcome = capture(name, frame);

  EXPECT_EQ(outcome.result, A_Err_NONE);
  EXPECT_TRUE(outcome.handled);
  ASSERT_EQ(written_.size(), 1u) << "new desktop entries: " << written_.size();
  EXPECT_EQ(written_[0], fileNameFor(wideOf(name)));
  EXPECT_TRUE(std::filesystem::is_regular_file(desktop_ / written_[0]));
  EXPECT_TRUE(decodesTo(written_[0], frame));
  EXPECT_EQ(stdout_, "");
  EXPECT_TRUE(gMessageBoxes.empty());
  EXPECT_TRUE(reports_.empty());
  // The desktop directory folder (16), no owner window, no token, its current path.
  ASSERT_EQ(gFolderRequests.size(), 1u);
  EXPECT_EQ(gFolderRequests[0].owner, nullptr);
  EXPECT_EQ(gFolderRequests[0].folder, CSIDL_DESKTOPDIRECTORY);
  EXPECT_EQ(gFolderRequests[0].token, nullptr);
  EXPECT_EQ(gFolderRequests[0].flags, 0u);
}

// Whether the file system under `folder` takes a file name of `name_length`
// UTF-16 units that are each three UTF-8 bytes, plus the capture's timestamp.
// NTFS counts UTF-16 units (255 at most); a Linux file system below Wine
// counts UTF-8 bytes (255 at most), and there the capture's name is too long.
bool folderTakesName(const std::filesystem::path& folder, std::size_t name_length) {
  const std::filesystem::path probe =
      folder / (std::wstring(name_length, L'\u5e74') + L" 2000-01-01 12.00.00 AM.probe");
  const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  DeleteFileW(probe.c_str());
  return true;
}

TEST_F(Capture, AcceptsANameOf85ThreeByteCharacters) {
  const std::u16string name(85, u'\u65e5');
  const Frame frame = gradientFrame(8, 8, 0);

  const substitute_host::CommandOutcome outcome = capture(name, frame);

  EXPECT_EQ(outcome.result, A_Err_NONE);
  EXPECT_TRUE(outcome.handled);
  EXPECT_TRUE(gMessageBoxes.empty());
  // Accepted: the whole name went into the path that the PNG was put at.
  ASSERT_EQ(gFileMoves.size(), 1u);
  // In the extended form, which lifts the 260-character limit of classic paths.
  const std::filesystem::path target(gFileMoves[0].to);
  EXPECT_EQ(target.parent_path(), L"\\\\?\\" + desktop_.wstring());
  EXPECT_EQ(target.filename().wstring(), fileNameFor(wideOf(name)));
  EXPECT_NE(gFileMoves[0].flags & MOVEFILE_REPLACE_EXISTING, 0u);

  if (folderTakesName(desktop_, 85)) {
    ASSERT_EQ(written_.size(), 1u);
    EXPECT_EQ(written_[0], target.filename().wstring());
    EXPECT_TRUE(decodesTo(written_[0], frame));
    EXPECT_EQ(stdout_, "");
    EXPECT_TRUE(reports_.empty());
  } else {
    // Wine on a Linux file system: the 282-byte UTF-8 file name does not fit
    // there, which the plug-in reports as a file it cannot create.
    std::printf(
        "note: the desktop's file system holds no file name of 85 three-byte "
        "characters and a timestamp; the capture reported that it could not create it\n");
    EXPECT_EQ(stdout_, "error 79: failed to open file for writing\n");
    EXPECT_TRUE(ReportedOnce(reports_, 79));
    EXPECT_TRUE(written_.empty()) << utf8Of(written_.front());  // no temporary left behind
  }
}

// 86 kanji are 86 UTF-16 units and stay whole in the path the file is moved
// to. (A name cut to 255 units: the shared CaptureFileTest; every rule of
// the cut: OutputNamingTest.)
TEST_F(Capture, KeepsANameOf86KanjiWholeIn255Units) {
  EXPECT_EQ(capture(std::u16string(86, u'\u6708'), gradientFrame(8, 8, 0)).result, A_Err_NONE);
  ASSERT_EQ(gFileMoves.size(), 1u);
  EXPECT_EQ(std::wstring(gFileMoves[0].to),
            L"\\\\?\\" + (desktop_ / fileNameFor(std::wstring(86, L'\u6708'))).wstring());
  for (const std::wstring& entry : written_) std::filesystem::remove(desktop_ / entry);
  written_.clear();
}

// A device name before the first '.' gets '_' there: each capture writes its
// file. (Every device name: OutputNamingTest.)
TEST_F(Capture, DeviceNamesGiveOrdinaryFiles) {
  const struct {
    std::u16string name;
    std::wstring file_name_part;
  } cases[] = {{u"aux.v2", L"aux_.v2"}, {u"CONIN$.x", L"CONIN$_.x"}};
  const Frame frame = gradientFrame(5, 3, 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(utf8Of(c.file_name_part));
    EXPECT_EQ(capture(c.name, frame).result, A_Err_NONE);
    EXPECT_EQ(stdout_, "");
    ASSERT_EQ(written_.size(), 1u);
    EXPECT_EQ(written_[0], fileNameFor(c.file_name_part));
    EXPECT_TRUE(decodesTo(written_[0], frame));
    std::filesystem::remove(desktop_ / written_[0]);
  }
}

TEST_F(Capture, PutsUnderscoresForColonAndBackslash) {
  const std::u16string name = u"C:\\Windows\\evil:stream";

  const substitute_host::CommandOutcome outcome = capture(name, gradientFrame(5, 3, 0));

  EXPECT_EQ(outcome.result, A_Err_NONE);
  ASSERT_EQ(written_.size(), 1u);
  EXPECT_EQ(written_[0], fileNameFor(L"C__Windows_evil_stream"));
  EXPECT_TRUE(std::filesystem::is_regular_file(desktop_ / written_[0]));
  EXPECT_EQ(stdout_, "");
}

TEST_F(Capture, ShowsOneMessageBoxAndWritesNothingWhenTheDesktopCannotBeHad) {
  gDesktopAnswer = DesktopAnswer::Failure;

  const substitute_host::CommandOutcome outcome = capture(u"No Desktop", gradientFrame(5, 3, 0));

  EXPECT_EQ(outcome.result, A_Err_NONE);
  EXPECT_TRUE(outcome.handled);
  EXPECT_TRUE(written_.empty());
  ASSERT_EQ(gMessageBoxes.size(), 1u);
  EXPECT_EQ(gMessageBoxes[0].owner, nullptr);
  EXPECT_EQ(gMessageBoxes[0].text, L"Can't Access Desktop");
  EXPECT_EQ(gMessageBoxes[0].caption, L"Error");
  EXPECT_EQ(gMessageBoxes[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(stdout_, "");
  EXPECT_TRUE(reports_.empty());  // the box is the one message
  EXPECT_EQ(host_.log().count("AEGP_FillOutPFEffectWorld"), 0u);
}

// Windows takes a desktop path written with a doubled separator as the
// folder itself; so does the capture.
TEST_F(Capture, WritesOntoADesktopPathWithADoubledSeparator) {
  gDesktopAnswer = DesktopAnswer::Elsewhere;
  gElsewhere = desktop_.parent_path().wstring() + L"\\\\" + desktop_.filename().wstring();
  const Frame frame = gradientFrame(5, 3, 0);

  EXPECT_EQ(capture(u"Doubled", frame).result, A_Err_NONE);

  EXPECT_EQ(stdout_, "");
  EXPECT_TRUE(reports_.empty());
  ASSERT_EQ(written_, std::vector<std::wstring>{fileNameFor(L"Doubled")});
  EXPECT_TRUE(decodesTo(written_[0], frame));
  ASSERT_EQ(gFileMoves.size(), 1u);
  EXPECT_EQ(gFileMoves[0].to, L"\\\\?\\" + (desktop_ / written_[0]).wstring());
}

TEST_F(Capture, UnderEveryHeapCeilingWritesTheWholeFrameOrReportsCode83AndKeepsTheEarlierFile) {
  HMODULE module = loadedPluginModule();
  const ImportPatch mallocPatch(module, "msvcrt.dll", "malloc",
                                reinterpret_cast<void*>(&ceilingMalloc));
  const ImportPatch reallocPatch(module, "msvcrt.dll", "realloc",
                                 reinterpret_cast<void*>(&ceilingRealloc));
  const ImportPatch freePatch(module, "msvcrt.dll", "free", reinterpret_cast<void*>(&ceilingFree));
  const std::vector<std::wstring> earlier = {fileNameFor(L"Ceiling")};
  const Frame frame = substitute_host::noiseFrame(320, 200, 11);

  // The most the capture held at once, then 24 ceilings up to a quarter more
  // (the first capture also frees what was had before the redirection). A
  // ceiling of nothing at all is not tried: the first exception the plug-in
  // ever throws then overflows the stack inside mingw-w64's C++ runtime,
  // which takes memory for it (once one was thrown, that ceiling answers 4).
  gHeapCeiling = SIZE_MAX;
  gHeapHeld = gHeapPeak = 0;
  ASSERT_EQ(capture(u"Ceiling", frame).result, A_Err_NONE);
  for (const std::wstring& entry : written_) std::filesystem::remove(desktop_ / entry);
  const auto needed = static_cast<std::size_t>(gHeapPeak);
  int wrote = 0, outOfMemory = 0, stopped = 0;
  constexpr int kCeilings = 24;
  for (int i = 0; i < kCeilings; ++i) {
    gHeapCeiling = needed * 5 / 4 * (i + 1) / kCeilings;
    SCOPED_TRACE("ceiling " + std::to_string(gHeapCeiling) + " of " + std::to_string(needed) +
                 " bytes");
    for (const std::wstring& name : earlier)
      std::ofstream(desktop_ / name, std::ios::binary) << "earlier";
    const A_Err result = capture(u"Ceiling", frame).result;
    gHeapCeiling = SIZE_MAX;

    EXPECT_TRUE(written_.empty());  // nothing new: at most an earlier file replaced
    std::vector<std::wstring> replaced;
    for (const std::wstring& name : earlier) {
      if (contentsOf(desktop_ / name) != "earlier") replaced.push_back(name);
    }
    if (stdout_ == "error 83: memory allocation failed\n") {
      ++outOfMemory;
      EXPECT_EQ(result, A_Err_NONE);
      EXPECT_TRUE(replaced.empty());
    } else if (result == A_Err_ALLOC) {  // memory ran out before the writer
      ++stopped;
      EXPECT_EQ(stdout_, "");
      EXPECT_TRUE(replaced.empty());
    } else {
      ++wrote;
      EXPECT_EQ(result, A_Err_NONE);
      EXPECT_EQ(stdout_, "");
      ASSERT_EQ(replaced.size(), 1u);
      EXPECT_TRUE(decodesTo(replaced[0], frame));
    }
  }
  for (const std::wstring& name : earlier) std::filesystem::remove(desktop_ / name);
  std::printf(
      "heap ceilings: %d up to %zu bytes; %d wrote the frame, %d printed error 83, %d answered 4\n",
      kCeilings, needed * 5 / 4, wrote, outOfMemory, stopped);
  EXPECT_GT(outOfMemory, 0);
  EXPECT_GT(wrote, 0);
}

}  // namespace
}  // namespace glimster::windows_tests
