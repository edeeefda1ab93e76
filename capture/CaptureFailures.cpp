#include "capture/CaptureFailures.h"

#include <cstdio>

#include "lodepng.h"

namespace glimster {

namespace {

constexpr char kNotCreatedText[] = "failed to open file for writing";

constexpr CaptureFailure kFailures[] = {
    // Writing the PNG.
    {kFileNotCreated, NamingFailure::kNone, kNotCreatedText, "the file could not be created there"},
    {kOutOfMemory, NamingFailure::kNone, "memory allocation failed",
     "there was not enough memory, or the frame is too large"},
    {kShortRows, NamingFailure::kNone, "given image too small to contain all pixels to be encoded",
     "the rendered frame could not be read"},
    {kEmptyFrame, NamingFailure::kNone, "zero width or height is invalid",
     "the rendered frame was empty"},
    {kWriteFailed, NamingFailure::kNone, "failed to write file",
     "writing the file failed, perhaps because the disk is full"},
    {kCompressedTooLarge, NamingFailure::kNone, "compressed image too large for a PNG file",
     "the compressed image is too large for a PNG file"},
    // The host's answer: a success without a frame (no render options, no
    // receipt, no world or no pixels). Standard output stays as it was.
    {kNoFrame, NamingFailure::kNone, nullptr, "the host gave no frame"},
    // Building the path: the file cannot be created, for a reason of its own.
    {kFileNotCreated, NamingFailure::kNameUnconvertible, nullptr,
     "the composition's name could not be made a file name"},
    {kFileNotCreated, NamingFailure::kDesktopUnavailable, nullptr,
     "the desktop folder could not be found"},
    {kFileNotCreated, NamingFailure::kDesktopUnconvertible, nullptr,
     "the desktop folder's path could not be read"},
    {kFileNotCreated, NamingFailure::kNoRoomForFileName, kNotCreatedText,
     "the desktop folder's path is too long for a file name"},
};

}  // namespace

CaptureFailure FailureOfCode(unsigned code) {
  for (const CaptureFailure& row : kFailures) {
    if (row.code == code && row.naming == NamingFailure::kNone) return row;
  }
  return {code, NamingFailure::kNone, lodepng_error_text(code), "the PNG could not be written"};
}

CaptureFailure NamingFailureOf(NamingFailure failure) {
  for (const CaptureFailure& row : kFailures) {
    if (row.naming == failure && failure != NamingFailure::kNone) return row;
  }
  return {kFileNotCreated, failure, nullptr, "the file could not be named"};
}

void PrintFailureLine(const CaptureFailure& failure) {
  if (failure.printed == nullptr) return;
  std::printf("error %u: %s\n", failure.code, failure.printed);
  std::fflush(stdout);
}

}  // namespace glimster
