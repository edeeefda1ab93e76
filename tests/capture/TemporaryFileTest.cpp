// The temporary file a capture writes first takes a fresh name of random
// draws (".glimster-" and 10 hex digits): a leftover of a killed capture at a
// name drawn is kept and another name drawn; a name that stays taken ends the
// capture after a few draws. (Its calls, per platform: FileReplaceTest.)
#include <fstream>

#include "CaptureFixture.h"

namespace glimster::capture_tests {
namespace {

class TemporaryFileTest : public CaptureFixture {
 protected:
  void Plant(const std::string& name) {
    std::ofstream(OnDesktop(name), std::ios::binary) << "left by a killed capture: " << name;
  }
};

TEST_F(TemporaryFileTest, LeftoversOfKilledCapturesNeverBlockALaterOne) {
  const Item& comp = ActivateComposition(u"leftovers", GradientFrame(7, 5, 0, true));
  for (int draw = 1; draw <= 6; ++draw)
    Plant(".glimster-000000000" + std::to_string(draw) + ".tmp");
  const Tree leftovers = TreeOf(desktop_);
  probe::PlanRandomDraws({1, 2, 3, 4, 5, 6, 7});
  std::string output;
  EXPECT_EQ(Capture(&output).result, 0);
  EXPECT_EQ(output, "");
  const std::string png = FileNameAt("leftovers");
  Tree expected = leftovers;
  expected[png] = TreeOf(desktop_)[png];
  EXPECT_EQ(TreeOf(desktop_), expected);
  const std::optional<Rgba8> decoded = DecodePng(OnDesktop(png));
  ASSERT_TRUE(decoded);
  EXPECT_TRUE(decoded->pixels == ExpectedImage(*comp.frame).pixels);
}

TEST_F(TemporaryFileTest, ANameThatStaysTakenEndsTheCaptureAfterFewDraws) {
  ActivateComposition(u"always taken", GradientFrame(7, 5, 0, true));
  Plant(".glimster-0000003333.tmp");
  std::ofstream(OnDesktop(FileNameAt("always taken")), std::ios::binary) << "earlier";
  probe::PlanRandomDraws({0x3333});
  ExpectRefusedWithoutTrace("error 79: failed to open file for writing\n", 79);
}

}  // namespace
}  // namespace glimster::capture_tests
