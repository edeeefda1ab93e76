// A capture whose host calls fail: the code returned, no file, every handle back.
#include "CaptureFixture.h"

#include "substitute_host/Operations.h"

namespace glimster::capture_tests {
namespace {

namespace op = substitute_host::op;
using substitute_host::CallFault;
using substitute_host::Outputs;

class CaptureFailureTest : public CaptureFixture {};

TEST_F(CaptureFailureTest, AFailingRenderStepEndsTheCaptureButItIsStillHandled) {
  const std::vector<const char*> steps = {op::kGetCompFromItem,
                                          op::kGetItemCurrentTime,
                                          op::kNewFromItem,
                                          op::kSetWorldType,
                                          op::kSetTime,
                                          op::kSetDownsampleFactor,
                                          op::kRenderAndCheckoutFrame,
                                          op::kGetReceiptWorld};
  ActivateComposition(u"failing", GradientFrame(6, 6, 0, true));
  // Written: the step still gives its options, receipt or world; a failing
  // step's world is no world all the same.
  for (const Outputs outputs : {Outputs::kCleared, Outputs::kWritten}) {
    for (const char* step : steps) {
      SCOPED_TRACE(std::string(step) + (outputs == Outputs::kWritten ? ", written" : ""));
      host_->log().clear();
      host_->faults().FailCall(step, CallFault{17, outputs});
      const substitute_host::CommandOutcome outcome = Capture();
      EXPECT_EQ(outcome.result, 17);
      EXPECT_EQ(outcome.handled, kHandled);
      EXPECT_TRUE(DesktopFiles().empty());
      EXPECT_EQ(host_->log().count(op::kFillOutPfEffectWorld), 0u);
      EXPECT_EQ(host_->log().count(op::kGetItemName), 0u);
      ExpectEverythingGivenBack();
    }
  }
}

TEST_F(CaptureFailureTest, AFailingItemQueryReturnsItsCodeWithoutHandling) {
  ActivateComposition(u"queried", GradientFrame(6, 6, 0, true));
  for (const char* query : {op::kGetActiveItem, op::kGetItemType}) {
    SCOPED_TRACE(query);
    host_->faults().FailCall(query, CallFault{23, Outputs::kCleared});
    const substitute_host::CommandOutcome outcome = Capture();
    EXPECT_EQ(outcome.result, 23);
    EXPECT_EQ(outcome.handled, kHandledUntouched);
    EXPECT_TRUE(host_->renders().empty());
  }
  ExpectEverythingGivenBack();
}

TEST_F(CaptureFailureTest, ACompositionWhoseTypeQueryFailsIsHandledButNotRendered) {
  ActivateComposition(u"typed", GradientFrame(6, 6, 0, true));
  host_->faults().FailCall(op::kGetItemType, CallFault{29, Outputs::kWritten});
  const substitute_host::CommandOutcome outcome = Capture();
  EXPECT_EQ(outcome.result, 29);
  EXPECT_EQ(outcome.handled, kHandled);
  EXPECT_TRUE(host_->renders().empty());
  EXPECT_TRUE(DesktopFiles().empty());
  ExpectEverythingGivenBack();
}

// The host answers 0 but gives no frame: nothing is written, the capture
// still succeeds, and the user reads why, once.
TEST_F(CaptureFailureTest, ASuccessWithoutAFrameWritesNothingAndSaysSoInOneReport) {
  const struct {
    const char* step;        // answers 0 and leaves its out-parameter null
    const char* not_called;  // what needs what the step did not give
  } cases[] = {
      {op::kNewFromItem, op::kSetWorldType},
      {op::kRenderAndCheckoutFrame, op::kGetReceiptWorld},
      {op::kGetReceiptWorld, op::kFillOutPfEffectWorld},
      {op::kFillOutPfEffectWorld, nullptr},  // a world without a pixel address
  };
  ActivateComposition(u"no frame", GradientFrame(6, 6, 0, true));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.step);
    host_->log().clear();
    const std::size_t reports_before = host_->reports().size();
    host_->faults().FailCall(c.step, CallFault{0, Outputs::kCleared});
    std::string output;
    const substitute_host::CommandOutcome outcome = Capture(&output);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.handled, kHandled);
    if (c.not_called != nullptr) EXPECT_EQ(host_->log().count(c.not_called), 0u);
    EXPECT_TRUE(DesktopFiles().empty());
    EXPECT_EQ(output, "");
    ASSERT_EQ(host_->reports().size(), reports_before + 1);
    EXPECT_EQ(host_->reports().back(),
              "Glimster could not save the frame on the desktop: the host gave no frame "
              "(error 1002).");
    ExpectEverythingGivenBack();
  }
}

TEST_F(CaptureFailureTest, AFailingFillOutIsReturnedAndThePixelsStillWrittenIfDescribed) {
  ActivateComposition(u"filled", GradientFrame(6, 6, 0, true));
  host_->faults().FailCall(op::kFillOutPfEffectWorld, CallFault{31, Outputs::kCleared});
  EXPECT_EQ(Capture().result, 31);
  EXPECT_TRUE(DesktopFiles().empty());

  host_->faults().FailCall(op::kFillOutPfEffectWorld, CallFault{37, Outputs::kWritten});
  EXPECT_EQ(Capture().result, 37);
  EXPECT_EQ(DesktopFiles().size(), 1u);
  ExpectEverythingGivenBack();
}

// A name that cannot be had is the empty name; one whose size cannot be read
// is read up to its NUL, as far as a file name can hold it (255 bytes here:
// 228 for the name, the rest for the timestamp and ".png").
TEST_F(CaptureFailureTest, ANameThatCannotBeHadIsTheEmptyName) {
  const struct {
    const char* step;
    std::u16string comp;
    std::string name;  // in the file name
  } cases[] = {{op::kGetItemName, u"unnamed", ""},
               {op::kLockMemHandle, u"unnamed", ""},
               {op::kGetMemHandleSize, u"unnamed", "unnamed"},
               {op::kGetMemHandleSize, std::u16string(300, u'n'), std::string(228, 'n')}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.step + std::string(" ") + std::to_string(c.comp.size()));
    ActivateComposition(c.comp, GradientFrame(6, 6, 0, true));
    host_->faults().FailCall(c.step, CallFault{41, Outputs::kCleared});
    const substitute_host::CommandOutcome outcome = Capture();
    EXPECT_EQ(outcome.result, 0);  // the name's own queries never fail a capture
    const fs::path png = OnlyPng();
    EXPECT_EQ(Utf8NameOf(png), FileNameAt(c.name));
    fs::remove(png);
  }
  ExpectEverythingGivenBack();
}

TEST_F(CaptureFailureTest, AFailingCleanUpIsReportedOnlyWhenNothingFailedBefore) {
  ActivateComposition(u"clean-up", GradientFrame(6, 6, 0, true));
  for (const char* clean_up : {op::kFreeMemHandle, op::kDispose, op::kCheckinFrame}) {
    SCOPED_TRACE(clean_up);
    host_->faults().FailCall(clean_up, CallFault{43, Outputs::kWritten});
    const substitute_host::CommandOutcome outcome = Capture();
    EXPECT_EQ(outcome.result, 43);
    EXPECT_EQ(outcome.handled, kHandled);
  }
  // A step failing after the name, the options and the frame were had: every
  // clean-up still runs, fails, and the step's code stays.
  host_->faults().FailCall(op::kFillOutPfEffectWorld, CallFault{47, Outputs::kCleared});
  for (const char* clean_up : {op::kFreeMemHandle, op::kDispose, op::kCheckinFrame}) {
    host_->faults().FailCall(clean_up, CallFault{53, Outputs::kWritten});
  }
  host_->log().clear();
  EXPECT_EQ(Capture().result, 47);
  for (const char* clean_up : {op::kFreeMemHandle, op::kDispose, op::kCheckinFrame}) {
    EXPECT_EQ(host_->log().count(clean_up), 1u) << clean_up;
  }
}

struct MissingSuite {
  const char* name;
  std::int32_t version;
};
void PrintTo(const MissingSuite& suite, std::ostream* out) {
  *out << '"' << suite.name << "\" " << suite.version;
}

class MissingSuiteDuringCaptureTest : public CaptureFixture,
                                      public ::testing::WithParamInterface<MissingSuite> {};

TEST_P(MissingSuiteDuringCaptureTest, EndsTheCaptureWith516AfterGivingBackWhatItCan) {
  ActivateComposition(u"missing", GradientFrame(6, 6, 0, true));
  host_->faults().RefuseSuite(GetParam().name, GetParam().version,
                              substitute_host::SuiteRefusal{9, Outputs::kCleared});
  const substitute_host::CommandOutcome outcome = Capture();
  EXPECT_EQ(outcome.result, 516);
  EXPECT_EQ(outcome.handled, kHandledUntouched);
  EXPECT_TRUE(DesktopFiles().empty());

  // Whatever was obtained goes back before the suites are released.
  const std::vector<std::string> ops = host_->log().ops();
  const auto first_release = std::find(ops.begin(), ops.end(), op::kReleaseSuite);
  EXPECT_TRUE(std::find(ops.begin(), ops.end(), op::kDispose) < first_release);
  const auto checkin = std::find(ops.begin(), ops.end(), op::kCheckinFrame);
  if (checkin != ops.end()) EXPECT_TRUE(checkin < first_release);
  // Without the memory suite no name is asked for: there would be no freeing it.
  if (std::string(GetParam().name) == "AEGP Memory Suite") {
    EXPECT_EQ(host_->log().count(op::kGetItemName), 0u);
  }
  const substitute_host::Outstanding outstanding = host_->outstanding();
  EXPECT_TRUE(outstanding.none()) << outstanding.describe();
  EXPECT_TRUE(host_->problems().empty()) << ::testing::PrintToString(host_->problems());
}

INSTANTIATE_TEST_SUITE_P(DuringCapture, MissingSuiteDuringCaptureTest,
                         ::testing::Values(MissingSuite{"AEGP Render Suite", 2},
                                           MissingSuite{"AEGP Item Suite", 13},
                                           MissingSuite{"AEGP Memory Suite", 1},
                                           MissingSuite{"AEGP World Suite", 2}),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
                           return name + std::to_string(info.param.version);
                         });

TEST_F(CaptureFailureTest, ARefusedRenderSuiteReleasesTheEarlierSuitesOnceInCatalogueOrder) {
  ActivateComposition(u"refused", GradientFrame(6, 6, 0, true));
  host_->faults().RefuseSuite("AEGP Render Suite", 2,
                              substitute_host::SuiteRefusal{0, Outputs::kCleared});
  EXPECT_EQ(Capture().result, 516);
  EXPECT_EQ(host_->log().ArgsOf(op::kReleaseSuite),
            (std::vector<std::string>{"\"AEGP Comp Suite\" 14", "\"AEGP Item Suite\" 10",
                                      "\"AEGP Render Options Suite\" 2"}));
  ExpectEverythingGivenBack();
}

}  // namespace
}  // namespace glimster::capture_tests
