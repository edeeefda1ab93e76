// The words a user reads when a capture wrote no file: one ASCII sentence
// with the failure's code, for the host's information report.
#pragma once

#include <cstddef>

#include "capture/OutputNaming.h"
#include "capture/PngWriter.h"

// A report's text, NUL-terminated; held without allocating.
struct FailureReportText {
  char text[192];
};

// The report for a failure code of the PNG writer (see WriteFrameAsPng).
FailureReportText WriteFailureReport(unsigned code);

// The report for a path that could not be built; the code is that of a file
// that cannot be created (79).
FailureReportText NamingFailureReport(NamingFailure failure);
