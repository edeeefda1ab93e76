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
DesktopAnswer g_answer;
std::wstring g_elsewhere;
std::vector<FolderRequest> g_requests;
std::vector<MessageBoxCall> g_boxes;
std::vector<std::wstring> g_move_targets;
using FolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
using MoveFunction = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
FolderPathFunction g_redirected;
MoveFunction g_move;

HRESULT WINAPI AnswerFolderPath(HWND owner, int folder, HANDLE token, DWORD flags, LPWSTR path) {
  g_requests.push_back({owner, folder, token, flags});
  if (g_answer == DesktopAnswer::kFailure) return E_FAIL;
  if (g_answer == DesktopAnswer::kRedirected)
    return g_redirected(owner, folder, token, flags, path);
  lstrcpynW(path, g_elsewhere.c_str(), MAX_PATH);
  return S_OK;
}

int WINAPI RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  g_boxes.push_back({owner, text, caption, type});
  return IDOK;
}

BOOL WINAPI RecordMove(LPCWSTR from, LPCWSTR to, DWORD flags) {
  g_move_targets.push_back(to);
  EXPECT_NE(flags & MOVEFILE_REPLACE_EXISTING, 0u);
  return g_move(from, to, flags);
}

class ShellDesktopTest : public CaptureFixture {
 protected:
  void SetUp() override {
    CaptureFixture::SetUp();
    g_answer = DesktopAnswer::kRedirected;
    g_requests.clear();
    g_boxes.clear();
    g_move_targets.clear();
    const HMODULE module = LoadedPluginModule();
    folder_ = std::make_unique<ImportPatch>(module, "SHELL32.dll", "SHGetFolderPathW",
                                            reinterpret_cast<void*>(&AnswerFolderPath));
    g_redirected = reinterpret_cast<FolderPathFunction>(folder_->original());
    box_ = std::make_unique<ImportPatch>(module, "USER32.dll", "MessageBoxW",
                                         reinterpret_cast<void*>(&RecordMessageBox));
    move_ = std::make_unique<ImportPatch>(module, "KERNEL32.dll", "MoveFileExW",
                                          reinterpret_cast<void*>(&RecordMove));
    g_move = reinterpret_cast<MoveFunction>(move_->original());
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
  ASSERT_EQ(g_requests.size(), 1u);
  EXPECT_EQ(g_requests[0].owner, nullptr);
  EXPECT_EQ(g_requests[0].folder, CSIDL_DESKTOPDIRECTORY);
  EXPECT_EQ(g_requests[0].token, nullptr);
  EXPECT_EQ(g_requests[0].flags, 0u);
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_EQ(g_move_targets, std::vector<std::wstring>{L"\\\\?\\" + OnlyPng().wstring()});
}

TEST_F(ShellDesktopTest, ShowsOneMessageBoxAndWritesNothingWhenTheDesktopCannotBeHad) {
  g_answer = DesktopAnswer::kFailure;
  ActivateComposition(u"No Desktop", capture_tests::GradientFrame(4, 4, 0, true));
  std::string output;
  const substitute_host::CommandOutcome outcome = Capture(&output);
  EXPECT_EQ(outcome.result, A_Err_NONE);
  EXPECT_EQ(outcome.handled, capture_tests::kHandled);
  EXPECT_TRUE(DesktopFiles().empty());
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].owner, nullptr);
  EXPECT_EQ(g_boxes[0].text, L"Can't Access Desktop");
  EXPECT_EQ(g_boxes[0].caption, L"Error");
  EXPECT_EQ(g_boxes[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(output, "");
  EXPECT_TRUE(host_->reports().empty());  // the box is the one message
  EXPECT_EQ(host_->log().count("AEGP_FillOutPFEffectWorld"), 0u);
  ExpectEverythingGivenBack();
}

// Windows takes a desktop path written with a doubled separator as the
// folder itself; so does the capture.
TEST_F(ShellDesktopTest, WritesOntoADesktopPathWithADoubledSeparator) {
  g_answer = DesktopAnswer::kElsewhere;
  g_elsewhere = desktop_.parent_path().wstring() + L"\\\\" + desktop_.filename().wstring();
  ActivateComposition(u"Doubled", capture_tests::GradientFrame(4, 4, 0, true));
  std::string output;
  EXPECT_EQ(Capture(&output).result, A_Err_NONE);
  EXPECT_EQ(output, "");
  EXPECT_EQ(DesktopFiles(), std::vector<std::string>{capture_tests::FileNameAt("Doubled")});
  EXPECT_EQ(g_move_targets, std::vector<std::wstring>{L"\\\\?\\" + OnlyPng().wstring()});
}

}  // namespace
}  // namespace glimster::windows_tests
