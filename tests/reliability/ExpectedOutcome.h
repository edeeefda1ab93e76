// What the plug-in must answer and give back when the host fails it: the
// rules the fault matrix holds every run to.
#pragma once

#include "FaultPoints.h"
#include "substitute_host/Host.h"

#include <optional>
#include <string>
#include <vector>

namespace glimster::reliability {

// The calls the host makes into the plug-in.
enum class EntryPoint { kEntry, kUpdateMenu, kCommand };

// The code the plug-in answers a missing suite with.
inline constexpr A_Err kMissingSuite = 516;

// Whether `entry` leaves the result of `op` out of its answer.
bool ResultIgnored(EntryPoint entry, const std::string& op);

// Whether a refused `suite` (logged "\"name\" version") ends `entry` with
// 516: every one but the Utility suite of a capture's report.
bool RefusalEndsTheCall(EntryPoint entry, const std::string& suite);

// The code `entry` gives when the host fails as `path` says: 516 once a
// suite is refused whose refusal ends the call; otherwise the first non-zero
// code of an operation whose result counts; otherwise 0.
A_Err ExpectedCode(EntryPoint entry, const FaultPath& path);

// Whether `entry` is a capture that the host answers with success but
// without a frame (no render options, receipt, world or pixel address)
// before any failure that counts: it then shows one report and prints nothing.
bool FrameWithheld(EntryPoint entry, const FaultPath& path);

// The handles that stay with the host because a give-back (dispose, check-in,
// free) was answered without effect: the plug-in offers each back once only.
substitute_host::Outstanding KeptByTheHost(const FaultPath& path);

// The suites of `acquired` (logged "\"name\" version") in the order they must
// be released: the plug-in's catalogue order; nullopt if one is not the
// plug-in's to ask for.
std::optional<std::vector<std::string>> InReleaseOrder(std::vector<std::string> acquired);

}  // namespace glimster::reliability
