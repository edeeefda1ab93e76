// How the suites serve one call from the plug-in: with the current host,
// through the fault plan, into the call log, and never letting an exception
// reach the plug-in.
#pragma once

#include "host/AE_HostInterface.h"
#include "substitute_host/FaultPlan.h"
#include "substitute_host/HandleTable.h"
#include "substitute_host/Host.h"
#include "substitute_host/HostErrors.h"

#include <exception>
#include <new>
#include <optional>
#include <string>

namespace glimster::substitute_host {

// What a call whose planned fault is Outputs::Thrown throws into the plug-in.
struct PlannedOutOfMemory : std::bad_alloc {};

// Runs `serve` with the current host; an exception inside the host is the
// host's own failure (Host::failures()) and answers kHostGenericError, and
// without a host the call answers kHostGenericError. Only a planned
// PlannedOutOfMemory reaches the plug-in.
template <typename Serve>
A_Err ServeCall(const char* op, Serve&& serve) {
  Host* host = Host::current();
  if (host == nullptr) {
    return kHostGenericError;
  }
  try {
    return serve(*host);
  } catch (const PlannedOutOfMemory&) {
    throw;
  } catch (const std::bad_alloc&) {
    host->NoteFailure(std::string(op) + ": the substitute host ran out of memory");
  } catch (const std::exception& error) {
    host->NoteFailure(std::string(op) + ": " + error.what());
  } catch (...) {
    host->NoteFailure(std::string(op) + ": an unknown failure in the substitute host");
  }
  return kHostGenericError;
}

// One call of a host operation: counted against the fault plan when made,
// recorded in the log when finished.
class OperationCall {
 public:
  // Throws PlannedOutOfMemory, after logging the call, when that is its fault.
  OperationCall(Host& host, const char* op)
      : host_(host), op_(op), fault_(host.faults().NextCall(op)) {
    if (fault_ && fault_->outputs == Outputs::kThrown) {
      host_.log().record(op_, "throws std::bad_alloc", A_Err_NONE);
      throw PlannedOutOfMemory();
    }
  }

  // Whether the operation is carried out and its outputs written: true unless
  // a fault due for this call clears them.
  bool performs() const { return !fault_ || fault_->outputs == Outputs::kWritten; }

  // Logs the call; gives the due fault's code, else `result`.
  A_Err finish(std::string args, A_Err result = A_Err_NONE) {
    const A_Err answer = fault_ ? fault_->code : result;
    host_.log().record(op_, std::move(args), answer);
    return answer;
  }

  // Notes the misuse `problem`, logs the call and gives kHostParameterError.
  A_Err misuse(std::string args, const std::string& problem) {
    host_.NoteProblem(std::string(op_) + "(" + args + "): " + problem);
    host_.log().record(op_, std::move(args), kHostParameterError);
    return kHostParameterError;
  }

 private:
  Host& host_;
  const char* op_;
  std::optional<CallFault> fault_;
};

// How the log names a handle: "options 1", "released options 1", "unknown options".
template <typename Lookup>
std::string DescribeHandle(const Lookup& found, const char* kind) {
  switch (found.state) {
    case HandleState::kLive:
      return std::string(kind) + " " + std::to_string(found.serial);
    case HandleState::kReleased:
      return "released " + std::string(kind) + " " + std::to_string(found.serial);
    case HandleState::kUnknown:
      break;
  }
  return "unknown " + std::string(kind);
}

// Why a handle that is not live cannot be used.
inline std::string HandleProblem(HandleState state, const char* kind) {
  return state == HandleState::kReleased ? std::string(kind) + " used after it was given back"
                                         : std::string(kind) + " the host never gave";
}

// Misuse common to many operations.
inline constexpr char kNullOutParameter[] = "null out-parameter";
inline constexpr char kForeignPlugin[] = "a plug-in identifier the host did not give";

}  // namespace glimster::substitute_host
