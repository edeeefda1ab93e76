#include "capture/FailureReport.h"

#include <cstdio>

namespace {

struct Words {
  unsigned code;
  const char* words;
};

// Every code the PNG writer gives, in words a user understands.
constexpr Words kWriteFailures[] = {
    {79, "the file could not be created there"},
    {83, "there was not enough memory, or the frame is too large"},
    {84, "the rendered frame could not be read"},
    {93, "the rendered frame was empty"},
    {1000, "writing the file failed, perhaps because the disk is full"},
    {1001, "the compressed image is too large for a PNG file"},
};

struct NamingWords {
  NamingFailure failure;
  const char* words;
};

constexpr NamingWords kNamingFailures[] = {
    {NamingFailure::kNameUnconvertible, "the composition's name could not be made a file name"},
    {NamingFailure::kDesktopUnavailable, "the desktop folder could not be found"},
    {NamingFailure::kDesktopUnconvertible, "the desktop folder's path could not be read"},
    {NamingFailure::kNoRoomForFileName, "the desktop folder's path is too long for a file name"},
};

FailureReportText Sentence(const char* words, unsigned code) {
  FailureReportText report;
  std::snprintf(report.text, sizeof report.text,
                "Glimster could not save the frame on the desktop: %s (error %u).", words, code);
  return report;
}

}  // namespace

FailureReportText WriteFailureReport(unsigned code) {
  for (const Words& row : kWriteFailures) {
    if (row.code == code) return Sentence(row.words, code);
  }
  return Sentence("the PNG could not be written", code);
}

FailureReportText NamingFailureReport(NamingFailure failure) {
  for (const NamingWords& row : kNamingFailures) {
    if (row.failure == failure) return Sentence(row.words, kPngOpenFailed);
  }
  return Sentence("the file could not be named", kPngOpenFailed);
}
