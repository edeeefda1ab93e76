// A whole capture: what is rendered, what is written, and the host calls made.
#include "CaptureFixture.h"

#include "substitute_host/Operations.h"

namespace glimster::capture_tests {
namespace {

namespace op = substitute_host::op;

class CaptureTest : public CaptureFixture {};

TEST_F(CaptureTest, WritesTheFrameAsAPngThatDecodesToExactlyItsPixels) {
  for (const bool opaque : {true, false}) {
    SCOPED_TRACE(opaque ? "opaque" : "with transparency");
    // 37 wide with 12 bytes of padding per row: the stride is wider than the width.
    Item& comp = ActivateComposition(u"Comp 1", GradientFrame(37, 23, 12, opaque));
    const substitute_host::CommandOutcome outcome = Capture();
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.handled, kHandled);

    const fs::path png = OnlyPng();
    EXPECT_EQ(Utf8NameOf(png), FileNameAt("Comp 1"));
    const std::optional<Rgba8> decoded = DecodePng(png);
    ASSERT_TRUE(decoded);
    const Rgba8 expected = ExpectedImage(*comp.frame);
    EXPECT_EQ(decoded->width, expected.width);
    EXPECT_EQ(decoded->height, expected.height);
    EXPECT_TRUE(decoded->pixels == expected.pixels);
    EXPECT_TRUE(host_->reports().empty());  // nothing to tell the user
    ExpectEverythingGivenBack();
    fs::remove(png);
  }
}

TEST_F(CaptureTest, ChannelsAreMovedNotConverted) {
  Frame frame(1, 1, 4);
  frame.SetPixel(0, 0, {128, 10, 20, 30});
  ActivateComposition(u"one pixel", std::move(frame));
  Capture();
  const std::optional<Rgba8> decoded = DecodePng(OnlyPng());
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->pixels, (std::vector<std::uint8_t>{10, 20, 30, 128}));
}

TEST_F(CaptureTest, RendersTheCurrentTimeAtFullResolutionAndEightBits) {
  host_->RenderDefaults().world_type = substitute_host::kWorldType16;  // a 16-bit project
  host_->RenderDefaults().downsample_x = 2;                            // a half-resolution preview
  host_->RenderDefaults().downsample_y = 2;
  ActivateComposition(u"timed", GradientFrame(8, 8, 0, true), A_Time{1001, 30000});
  Capture();

  ASSERT_EQ(host_->renders().size(), 1u);
  const substitute_host::RenderSettings& settings = host_->renders().front().settings;
  EXPECT_EQ(settings.world_type, AEGP_WorldType_8);
  EXPECT_EQ(settings.downsample_x, 1);
  EXPECT_EQ(settings.downsample_y, 1);
  EXPECT_EQ(settings.time.value, 1001);
  EXPECT_EQ(settings.time.scale, 30000u);
  EXPECT_FALSE(host_->renders().front().cancel_function_given);
  EXPECT_FALSE(host_->renders().front().cancel_refcon_given);
}

TEST_F(CaptureTest, MakesTheHostCallsInOrderAndGivesEverythingBack) {
  ActivateComposition(u"sequence", GradientFrame(4, 4, 0, false));
  Capture();

  std::vector<std::string> calls;
  for (const substitute_host::Call& call : host_->log().calls()) {
    if (call.op == op::kCommandHook) continue;
    const bool suite_call = call.op == op::kAcquireSuite || call.op == op::kReleaseSuite;
    calls.push_back(suite_call ? call.op + " " + call.args : call.op);
  }
  const std::vector<std::string> expected = {
      "AcquireSuite \"AEGP Item Suite\" 10",
      op::kGetActiveItem,
      op::kGetItemType,
      "AcquireSuite \"AEGP Comp Suite\" 14",
      op::kGetCompFromItem,
      op::kGetItemCurrentTime,
      "AcquireSuite \"AEGP Render Options Suite\" 2",
      op::kNewFromItem,
      op::kSetWorldType,
      op::kSetTime,
      op::kSetDownsampleFactor,
      "AcquireSuite \"AEGP Render Suite\" 2",
      op::kRenderAndCheckoutFrame,
      op::kGetReceiptWorld,
      "AcquireSuite \"AEGP Memory Suite\" 1",  // had before the name it frees
      "AcquireSuite \"AEGP Item Suite\" 13",
      op::kGetItemName,
      op::kLockMemHandle,
      op::kGetMemHandleSize,
      "AcquireSuite \"AEGP World Suite\" 2",
      op::kFillOutPfEffectWorld,
      op::kFreeMemHandle,
      op::kDispose,
      op::kCheckinFrame,
      "ReleaseSuite \"AEGP Comp Suite\" 14",
      "ReleaseSuite \"AEGP Item Suite\" 13",
      "ReleaseSuite \"AEGP Item Suite\" 10",
      "ReleaseSuite \"AEGP Memory Suite\" 1",
      "ReleaseSuite \"AEGP Render Suite\" 2",
      "ReleaseSuite \"AEGP World Suite\" 2",
      "ReleaseSuite \"AEGP Render Options Suite\" 2",
  };
  EXPECT_EQ(calls, expected);
  ExpectEverythingGivenBack();
}

TEST_F(CaptureTest, OtherCommandsAreLeftAloneWithoutAskingTheHostForAnything) {
  ActivateComposition(u"untouched", GradientFrame(4, 4, 0, true));
  const AEGP_Command other = host_->menus().IssueCommand();  // another plug-in's command
  substitute_host::CommandOptions options;
  options.handled_flag = kHandledUntouched;
  const substitute_host::CommandOutcome outcome = host_->IssueCommand(other, options);
  EXPECT_EQ(outcome.result, 0);
  EXPECT_EQ(outcome.handled, kHandledUntouched);
  EXPECT_EQ(host_->log().count(op::kAcquireSuite), 0u);
  EXPECT_TRUE(DesktopFiles().empty());
}

TEST_F(CaptureTest, OnlyACompositionIsCaptured) {
  struct Case {
    const char* what;
    std::function<void()> activate;
  };
  const std::vector<Case> cases = {
      {"nothing active", [&] { host_->project().SetActive(nullptr); }},
      {"footage", [&] { host_->project().SetActive(&host_->project().AddFootage(u"clip", 8, 8)); }},
      {"folder", [&] { host_->project().SetActive(&host_->project().AddFolder(u"bin")); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.activate();
    const substitute_host::CommandOutcome outcome = Capture();
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.handled, kHandledUntouched);
    EXPECT_TRUE(host_->renders().empty());
    EXPECT_TRUE(DesktopFiles().empty());
    ExpectEverythingGivenBack();
  }
}

}  // namespace
}  // namespace glimster::capture_tests
