// The reports a user reads when a capture wrote no file.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "capture/FailureReport.h"

namespace glimster {

namespace {

constexpr char kOpening[] = "Glimster could not save the frame on the desktop: ";

// Whether `text` is the opening, some words, and " (error <code>)." in printable ASCII.
::testing::AssertionResult IsReport(const std::string& text, unsigned code) {
  for (const char c : text) {
    if (c < 0x20 || c > 0x7E) return ::testing::AssertionFailure() << "not ASCII: " << text;
  }
  const std::string ending = " (error " + std::to_string(code) + ").";
  if (text.rfind(kOpening, 0) != 0 || text.size() <= sizeof kOpening + ending.size() ||
      text.compare(text.size() - ending.size(), ending.size(), ending) != 0) {
    return ::testing::AssertionFailure() << text;
  }
  return ::testing::AssertionSuccess();
}

TEST(FailureReportTest, EveryCodeHasItsOwnWords) {
  EXPECT_STREQ(FailureReportFor(FailureOfCode(79)).text,
               "Glimster could not save the frame on the desktop: the file could not be created "
               "there (error 79).");
  EXPECT_STREQ(FailureReportFor(FailureOfCode(1002)).text,
               "Glimster could not save the frame on the desktop: the host gave no frame "
               "(error 1002).");
  std::set<std::string> texts;
  for (const unsigned code : {79u, 83u, 84u, 93u, 1000u, 1001u, 1002u, 4242u}) {
    SCOPED_TRACE(code);
    const std::string text = FailureReportFor(FailureOfCode(code)).text;
    EXPECT_TRUE(IsReport(text, code));
    texts.insert(text.substr(0, text.rfind(" (error")));
  }
  EXPECT_EQ(texts.size(), 8u);
}

TEST(FailureReportTest, EveryNamingFailureHasItsOwnWordsAndCode79) {
  std::set<std::string> texts;
  for (const NamingFailure failure :
       {NamingFailure::kNameUnconvertible, NamingFailure::kDesktopUnavailable,
        NamingFailure::kDesktopUnconvertible, NamingFailure::kNoRoomForFileName}) {
    const std::string text = FailureReportFor(NamingFailureOf(failure)).text;
    EXPECT_TRUE(IsReport(text, 79));
    texts.insert(text);
  }
  EXPECT_EQ(texts.size(), 4u);
}

}  // namespace

}  // namespace glimster
