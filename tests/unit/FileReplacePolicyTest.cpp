// How a file is put in place, on every platform (capture/FileReplace.cpp),
// over a fake of the platform's file calls (FileSystemCalls.h) that notes
// each call and fails those a test plans: the order of the steps, the
// clean-up after each failing one, fresh names while one is taken. What each
// platform's calls do themselves is tested through the plug-in: POSIX in
// tests/capture/FileReplaceTest, Windows in tests/windows/FileReplaceTest.
#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <string>
#include <vector>

#include "capture/FileReplace.h"
#include "capture/FileSystemCalls.h"

namespace glimster {

namespace file_system {
namespace {

std::vector<std::string> g_calls;
std::set<std::string> g_failing;    // the calls that fail ("write", "move", ...)
std::deque<Creation> g_creations;   // what the next creations answer; then kCreated
std::deque<std::uint64_t> g_draws;  // the next random draws; then 0
constexpr NativeFile kFile = NativeFile{};

std::string Utf8(const NativePath& path) { return std::string(path.begin(), path.end()); }

// Whether `call` succeeds, noting it.
bool Succeeds(const std::string& call, const std::string& what = "") {
  g_calls.push_back(what.empty() ? call : call + " " + what);
  return g_failing.count(call) == 0;
}

}  // namespace

NativePath NativePathOf(const std::string& utf8_path) {
  return NativePath(utf8_path.begin(), utf8_path.end());
}
NativePath FolderOf(const NativePath& path) { return path.substr(0, path.rfind('/')); }
NativePath PathIn(const NativePath& folder, const char* name) {
  return folder + NativePath(1, '/') + NativePathOf(name);
}
std::uint64_t RandomBits() {
  if (g_draws.empty()) return 0;
  const std::uint64_t draw = g_draws.front();
  g_draws.pop_front();
  return draw;
}
Creation CreateNew(const NativePath& path, NativeFile& file) {
  g_calls.push_back("create " + Utf8(path));
  const Creation creation = g_creations.empty() ? Creation::kCreated : g_creations.front();
  if (!g_creations.empty()) g_creations.pop_front();
  file = kFile;
  return creation;
}
bool WriteAll(NativeFile, const unsigned char*, std::size_t) { return Succeeds("write"); }
bool FlushToDisk(NativeFile) { return Succeeds("flush"); }
bool Close(NativeFile) { return Succeeds("close"); }
bool MoveOver(const NativePath& from, const NativePath& to) {
  return Succeeds("move", Utf8(from) + " -> " + Utf8(to));
}
bool Delete(const NativePath& path) { return Succeeds("delete", Utf8(path)); }
void FlushFolder(const NativePath& folder) { Succeeds("flush-folder", Utf8(folder)); }
bool Reveal(const NativePath& path) { return Succeeds("reveal", Utf8(path)); }
void RevealLeftover(const NativePath& path) { Succeeds("reveal-leftover", Utf8(path)); }

}  // namespace file_system

namespace {

using file_system::Creation;

// The fresh name of the draw 0xAB00C0FFEE42: its low 40 bits, in hex.
constexpr char kTemporary[] = "/d/.glimster-00c0ffee42.tmp";
constexpr char kTarget[] = "/d/shot.png";

class FileReplacePolicyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_system::g_calls.clear();
    file_system::g_failing.clear();
    file_system::g_creations.clear();
    file_system::g_draws = {0xAB00C0FFEE42};
  }
  static FileReplaceResult Replace() {
    static const unsigned char kBytes[] = {1, 2, 3};
    return ReplaceFileWhole(kTarget, kBytes, sizeof kBytes);
  }
};

TEST_F(FileReplacePolicyTest, WritesFlushesClosesRevealsMovesThenFlushesTheFolder) {
  EXPECT_EQ(Replace(), FileReplaceResult::kReplaced);
  const std::string t = kTemporary;
  EXPECT_EQ(file_system::g_calls,
            (std::vector<std::string>{"create " + t, "write", "flush", "close", "reveal " + t,
                                      "move " + t + " -> " + kTarget, "flush-folder /d"}));
}

// The temporary is closed and deleted, or, where it cannot be, revealed:
// never a hidden file left behind, never a capture called saved.
TEST_F(FileReplacePolicyTest, AFailingStepRemovesTheTemporaryOrRevealsIt) {
  const std::string t = kTemporary;
  const struct {
    std::set<std::string> failing;
    FileReplaceResult result;
    std::vector<std::string> calls_after_create;
  } cases[] = {
      {{"write"}, FileReplaceResult::kWriteFailed, {"write", "close", "delete " + t}},
      {{"flush"}, FileReplaceResult::kWriteFailed, {"write", "flush", "close", "delete " + t}},
      {{"close"}, FileReplaceResult::kWriteFailed, {"write", "flush", "close", "delete " + t}},
      {{"reveal"},
       FileReplaceResult::kWriteFailed,
       {"write", "flush", "close", "reveal " + t, "delete " + t}},
      {{"move"},
       FileReplaceResult::kOpenFailed,
       {"write", "flush", "close", "reveal " + t, "move " + t + " -> " + kTarget, "delete " + t}},
      {{"write", "delete"},
       FileReplaceResult::kWriteFailed,
       {"write", "close", "delete " + t, "reveal-leftover " + t}},
      {{"move", "delete"},
       FileReplaceResult::kOpenFailed,
       {"write", "flush", "close", "reveal " + t, "move " + t + " -> " + kTarget, "delete " + t,
        "reveal-leftover " + t}},
  };
  for (const auto& c : cases) {
    SetUp();
    file_system::g_failing = c.failing;
    SCOPED_TRACE(::testing::PrintToString(c.failing));
    EXPECT_EQ(Replace(), c.result);
    std::vector<std::string> expected = {"create " + t};
    expected.insert(expected.end(), c.calls_after_create.begin(), c.calls_after_create.end());
    EXPECT_EQ(file_system::g_calls, expected);
  }
}

// A name taken (a leftover of a killed capture) draws a fresh one; 16 taken
// names in a row, or a folder where nothing can be created, end the
// capture without a write.
TEST_F(FileReplacePolicyTest, ATakenNameDrawsAnotherUpTo16Times) {
  file_system::g_draws = {0x1, 0x2};
  file_system::g_creations = {Creation::kNameTaken};
  EXPECT_EQ(Replace(), FileReplaceResult::kReplaced);
  EXPECT_EQ(file_system::g_calls.at(0), "create /d/.glimster-0000000001.tmp");
  EXPECT_EQ(file_system::g_calls.at(1), "create /d/.glimster-0000000002.tmp");
  EXPECT_EQ(file_system::g_calls.at(2), "write");

  SetUp();
  file_system::g_creations.assign(16, Creation::kNameTaken);
  EXPECT_EQ(Replace(), FileReplaceResult::kOpenFailed);
  EXPECT_EQ(file_system::g_calls.size(), 16u);

  SetUp();
  file_system::g_creations = {Creation::kFailed};
  EXPECT_EQ(Replace(), FileReplaceResult::kOpenFailed);
  EXPECT_EQ(file_system::g_calls, std::vector<std::string>{std::string("create ") + kTemporary});
}

}  // namespace

}  // namespace glimster
