// Every call between the substitute host and the plug-in, in the order made.
#pragma once

#include "host/AE_HostInterface.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace glimster::substitute_host {

// One call: the operation's name ("AcquireSuite", "AEGP_GetActiveItem",
// "CommandHook", ...), its arguments and outputs as text, and its result.
struct Call {
  std::string op;
  std::string args;
  A_Err result;
};

class CallLog {
 public:
  // Appends a call and gives its position, for a result known only later.
  std::size_t record(std::string op, std::string args, A_Err result);
  // Sets the result of the call at `position`.
  void SetResult(std::size_t position, A_Err result);
  // Forgets every call so far.
  void clear() { calls_.clear(); }

  // All calls, in order.
  const std::vector<Call>& calls() const { return calls_; }
  // The calls of one operation, in order.
  std::vector<Call> CallsOf(std::string_view op) const;
  // The arguments of each call of one operation, in order.
  std::vector<std::string> ArgsOf(std::string_view op) const;
  // The operation names of all calls, in order.
  std::vector<std::string> ops() const;
  // How many calls `op` had.
  std::size_t count(std::string_view op) const;

 private:
  std::vector<Call> calls_;
};

// How the log writes a suite's name and version: "AEGP Item Suite" 10.
std::string SuiteArgs(std::string_view name, std::int32_t version);

}  // namespace glimster::substitute_host
