// The words a user reads when a capture wrote no file: one ASCII sentence
// with the failure's code, for the host's information report.
#pragma once

#include "capture/CaptureFailures.h"

namespace glimster {

// A report's text, NUL-terminated; held without allocating.
struct FailureReportText {
  char text[192];
};

// "Glimster could not save the frame on the desktop: <words> (error <code>)."
FailureReportText FailureReportFor(const CaptureFailure& failure);

}  // namespace glimster
