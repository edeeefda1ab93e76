#include "capture/FailureReport.h"

#include <cstdio>

namespace glimster {

FailureReportText FailureReportFor(const CaptureFailure& failure) {
  FailureReportText report;
  std::snprintf(report.text, sizeof report.text,
                "Glimster could not save the frame on the desktop: %s (error %u).", failure.words,
                failure.code);
  return report;
}

}  // namespace glimster
