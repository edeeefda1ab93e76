// What only Glimster.aex asks of Windows around a capture: the shell's
// desktop folder, the message box when there is none, and the path the file
// is moved to. The plug-in's imports of SHGetFolderPathW, MessageBoxW and
// MoveFileExW are watched on top of the probe's and the desktop redirect's.
#include <windows.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/capture/CaptureFixture.h"
#include "tests/windows/WindowsTestSupport.h"

namespace glimster::windows_tests {
namespace {

using capture_tests::CaptureFixture;

struct FolderRequest {
  HWND owner;
  int folder;
  HANDLE token;
  DWORD flags;
};
struct MessageBoxCall {
  HWND owner;
  std::wstring text, caption;
  UINT type;
};

enum class DesktopAnswer { kRedirected, kFailure, kElsewhere };
DesktopAnswer gAnswer;
std::wstring gElsewhere;
std::vector<FolderRequest> gRequests;
std::vector<MessageBoxCall> gBoxes;
std::vector<std::wstring> gMoveTargets;
using FolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
using MoveFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
FolderPathFunction gRedirected;
MoveFunction gMove;

HRESULT WINAPI AnswerFolderPath(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path) {
  gRequests.push_back({owner, folder, token, flags});
  if (gAnswer == DesktopAnswer::kFailure) return E_FAIL;
  if (gAnswer == DesktopAnswer::kRedirected) return gRedirected(owner, folder, token, flags, path);
  lstrcpynW(path, gElsewhere.c_str(), MAX_PATH);
  return S_OK;
}

int WINAPI RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  gBoxes.push_back({owner, text, caption, type});
  return IDOK;
}

BOOL WINAPI RecordMove(LPCWSTR from, LPCWSTR to, DWORD flags) {
  gMoveTargets.push_back(to);
  EXPECT_NE(flags & MOVEFILE_REPLACE_EXISTING, 0u);
  return gMove(from, to, flags);
}

class ShellDesktopTest : public CaptureFixture {
 protected:
  void SetUp() override {
    CaptureFixture::SetUp();
    gAnswer = DesktopAnswer::kRedirected;
    gRequests.clear();
    gBoxes.clear();
    gMoveTargets.clear();
    const HMODULE module = loadedPluginModule();
    folder_ = std::make_unique<ImportPatch>(module, "SHELL32.dll", "SHGetFolderPathW",
                                            reinterpret_cast<void*>(&AnswerFolderPath));
    gRedirected = reinterpret_cast<FolderPathFunction>(folder_->original());
    box_ = std::make_unique<ImportPatch>(module, "USER32.dll", "MessageBoxW",
                                         reinterpret_cast<void*>(&RecordMessageBox));
    move_ = std::make_unique<ImportPatch>(module, "KERNEL32.dll", "MoveFileExW",
                                          reinterpret_cast<void*>(&RecordMove));
    gMove = reinterpret_cast<MoveFunction>(move_->original());
  }
  void TearDown() override {
    move_.reset();
    box_.reset();
    folder_.reset();
    CaptureFixture::TearDown();
  }

  std::unique_ptr<ImportPatch> folder_, box_, move_;
};

// The desktop directory (folder 16), no owner window, no token, its current
// path: asked once; the file is moved into it by its extended path.
TEST_F(ShellDesktopTest, AsksTheShellForTheDesktopDirectoryOnce) {
  ActivateComposition(u"Comp 1", capture_tests::GradientFrame(4, 4, 0, true));
  EXPECT_EQ(Capture().result, A_Err_NONE);
  ASSERT_EQ(gRequests.size(), 1u);
  EXPECT_EQ(gRequests[0].owner, nullptr);
  EXPECT_EQ(gRequests[0].folder, CSIDL_DESKTOPDIRECTORY);
  EXPECT_EQ(gRequests[0].token, nullptr);
  EXPECT_EQ(gRequests[0].flags, 0u);
  EXPECT_TRUE(gBoxes.empty());
  EXPECT_EQ(gMoveTargets, std::vector<std::wstring>{L"\\\\?\\" + OnlyPng().wstring()});
}

TEST_F(ShellDesktopTest, ShowsOneMessageBoxAndWritesNothingWhenTheDesktopCannotBeHad) {
  gAnswer = DesktopAnswer::kFailure;
  ActivateComposition(u"No Desktop", capture_tests::GradientFrame(4, 4, 0, true));
  std::string output;
  const substitute_host::CommandOutcome outcome = Capture(&output);
  EXPECT_EQ(outcome.result, A_Err_NONE);
  EXPECT_EQ(outcome.handled, capture_tests::kHandled);
  EXPECT_TRUE(DesktopFiles().empty());
  ASSERT_EQ(gBoxes.size(), 1u);
  EXPECT_EQ(gBoxes[0].owner, nullptr);
  EXPECT_EQ(gBoxes[0].text, L"Can't Access Desktop");
  EXPECT_EQ(gBoxes[0].caption, L"Error");
  EXPECT_EQ(gBoxes[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(output, "");
  EXPECT_TRUE(host_->reports().empty());  // the box is the one message
  EXPECT_EQ(host_->log().count("AEGP_FillOutPFEffectWorld"), 0u);
  ExpectEverythingGivenBack();
}

// Windows takes a desktop path written with a doubled separator as the
// folder itself; so does the capture.
TEST_F(ShellDesktopTest, WritesOntoADesktopPathWithADoubledSeparator) {
  gAnswer = DesktopAnswer::kElsewhere;
  gElsewhere = desktop_.parent_path().wstring() + L"\\\\" + desktop_.filename().wstring();
  ActivateComposition(u"Doubled", capture_tests::GradientFrame(4, 4, 0, true));
  std::string output;
  EXPECT_EQ(Capture(&output).result, A_Err_NONE);
  EXPECT_EQ(output, "");
  EXPECT_EQ(DesktopFiles(), std::vector<std::string>{capture_tests::FileNameAt("Doubled")});
  EXPECT_EQ(gMoveTargets, std::vector<std::wstring>{L"\\\\?\\" + OnlyPng().wstring()});
}

}  // namespace
}  // namespace glimster::windows_tests
