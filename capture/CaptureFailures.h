// Every way a capture can end without writing its file, in one table: the
// code it is known by, the line printed on standard output and the words of
// the report the user reads. The PNG writer, the repacker and the report all
// take their codes and texts from here.
#pragma once

#include "capture/OutputNaming.h"

namespace glimster {

// The codes: the PNG library's own where it has one, so that its texts read
// the same; 1000 and up for the failures it does not know.
inline constexpr unsigned kFileNotCreated = 79;        // the file cannot be created at its path
inline constexpr unsigned kOutOfMemory = 83;           // out of memory, or a frame too large
inline constexpr unsigned kShortRows = 84;             // a row stride shorter than a row
inline constexpr unsigned kEmptyFrame = 93;            // zero width or height
inline constexpr unsigned kWriteFailed = 1000;         // the bytes could not be written
inline constexpr unsigned kCompressedTooLarge = 1001;  // the stream does not fit one PNG chunk
inline constexpr unsigned kNoFrame = 1002;  // the host answered 0 but gave no frame to write

struct CaptureFailure {
  unsigned code;
  // The path that could not be built; kNone for any other failure.
  NamingFailure naming;
  // The text printed after "error <code>: " on standard output; null when
  // nothing is printed.
  const char* printed;
  // Why, in the words of the user's report (printable ASCII).
  const char* words;
};

// The failure with `code` (the PNG writer's codes and kNoFrame). A code of
// the PNG library's own that the table does not hold gives the library's
// text and general words.
CaptureFailure FailureOfCode(unsigned code);

// The failure of a path that could not be built (`failure` is not kNone).
CaptureFailure NamingFailureOf(NamingFailure failure);

// Prints "error <code>: <text>" on standard output, when the failure prints a line.
void PrintFailureLine(const CaptureFailure& failure);

}  // namespace glimster
