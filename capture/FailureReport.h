// The words a user reads when a capture wrote no file: one ASCII sentence
// with the failure's code, for the host's information report.
#pragma once

#include <cstddef>

#include "capture/OutputNaming.h"

// The code a capture that found no room for its file name prints and reports:
// that of a file that cannot be created.
inline constexpr unsigned kFileCannotBeCreated = 79;

// A report's text, NUL-terminated; held without allocating.
struct FailureReportText {
  char text[192];
};

// The report for a failure code of the PNG writer (see WriteFrameAsPng).
FailureReportText WriteFailureReport(unsigned code);

// The report for a path that could not be built; the code is 79.
FailureReportText NamingFailureReport(NamingFailure failure);

// Prints the line the PNG writer prints for a file that cannot be created,
// "error 79: failed to open file for writing", on standard output.
void PrintOpenFailedLine();
