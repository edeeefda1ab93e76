// Faults the substitute host injects: refused suites, failing releases and
// failing calls of named operations.
#pragma once

#include "host/AE_HostInterface.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace glimster::substitute_host {

// What a faulted call does with its effect and its out-parameters.
enum class Outputs {
  kWritten,  // the operation is carried out and its outputs written; only the code differs
  kCleared,  // the operation is not carried out; its out-parameters are set to null or zero
  kThrown,   // calls only: the call does not return; std::bad_alloc is thrown from it into the
             // plug-in, as if memory ran out inside the hook that made it (the code is not used)
};

// A call that answers `code` (0 included: "succeeds" without carrying out the
// operation when outputs are Cleared).
struct CallFault {
  A_Err code;
  Outputs outputs = Outputs::kCleared;
};

// An acquire that answers `code`, giving the suite table (Written) or null (Cleared).
// The host counts a refused suite as not acquired, whatever table it gave.
struct SuiteRefusal {
  SPErr code;
  Outputs table = Outputs::kCleared;
};

class FaultPlan {
 public:
  // Makes the nth call of `op` from now on (1 = the next one) fail with `fault`.
  // Throws std::invalid_argument for an operation the host does not offer.
  void FailCall(std::string_view op, CallFault fault, int nth = 1);
  // Makes every call of `op` from now on fail with `fault`.
  void FailEveryCall(std::string_view op, CallFault fault);
  // Makes every acquire of the suite `name` version `version` answer `refusal`.
  void RefuseSuite(std::string name, std::int32_t version, SuiteRefusal refusal);
  // Makes every release answer `code`.
  void FailReleases(SPErr code) { releaseFailure_ = code; }

  // Counts one call of `op`; gives the fault due for it, if any.
  std::optional<CallFault> NextCall(std::string_view op);
  // The refusal planned for the suite, if any.
  std::optional<SuiteRefusal> RefusalOf(std::string_view name, std::int32_t version) const;
  // The code every release answers, if releases fail.
  std::optional<SPErr> ReleaseFailure() const { return releaseFailure_; }
  // The planned call faults that never fired because their call never came,
  // in plain words: "every call of OP (none was made)", "call 3 of OP (1 was made)".
  std::vector<std::string> unfired() const;

 private:
  struct Schedule {
    int calls_seen = 0;
    std::map<int, CallFault> by_call;  // call number → fault
    std::optional<CallFault> always;
  };
  Schedule& ScheduleOf(std::string_view op);

  std::map<std::string, Schedule, std::less<>> schedules_;
  std::map<std::pair<std::string, std::int32_t>, SuiteRefusal> refusals_;
  std::optional<SPErr> releaseFailure_;
};

}  // namespace glimster::substitute_host
