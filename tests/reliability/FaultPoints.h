// Where a call into the plug-in can meet a host fault, read from the host's
// call log, and how each fault is planted in the next host.
#pragma once

#include "substitute_host/CallLog.h"
#include "substitute_host/FaultPlan.h"

#include <string>
#include <vector>

namespace glimster::reliability {

// One place in a call where the host can fail: the acquire of a suite, or
// the nth call of a suite operation.
struct FaultPoint {
  std::string op;     // substitute_host::op::AcquireSuite, or a suite operation
  int nth = 0;        // which call of `op`, from 1 (operations only)
  std::string suite;  // the suite as the log writes it, "\"AEGP Item Suite\" 10" (acquires only)

  bool IsAcquire() const;
  // "AEGP_SetTime #1", "AcquireSuite \"AEGP Item Suite\" 10".
  std::string describe() const;
  bool operator<(const FaultPoint& other) const;
};

// A fault planted at a point: the code the host answers and whether it
// carries out the call (Written) or not (Cleared: null outputs, null table).
struct PlantedFault {
  FaultPoint at;
  A_Err code;
  substitute_host::Outputs outputs;

  std::string describe() const;
};

// The faults of one run, in the order the plug-in meets them.
using FaultPath = std::vector<PlantedFault>;

// Every point the log shows, in call order: each acquire, and each call of an
// operation the host can fail. Releases and calls into the plug-in are no points.
std::vector<FaultPoint> FaultPointsOf(const substitute_host::CallLog& log);

// The faults tried at a point, given a fresh non-zero code: success without
// effect or output (0, Cleared) first, then the code without effect, then the
// code with the effect carried out.
std::vector<PlantedFault> FaultsAt(const FaultPoint& point, A_Err code);

// Makes the host fail as `path` says, counting calls from now on.
void Plant(const FaultPath& path, substitute_host::FaultPlan& plan);

}  // namespace glimster::reliability
