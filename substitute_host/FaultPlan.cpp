#include "substitute_host/FaultPlan.h"

#include "substitute_host/Operations.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace glimster::substitute_host {
namespace {

// Throws std::invalid_argument unless `op` names an operation the host offers.
void requireOffered(std::string_view op) {
  if (std::find(std::begin(op::kFaultable), std::end(op::kFaultable), op) ==
      std::end(op::kFaultable)) {
    throw std::invalid_argument("no offered operation is called " + std::string(op));
  }
}

}  // namespace

FaultPlan::Schedule& FaultPlan::scheduleOf(std::string_view op) {
  auto found = schedules_.find(op);
  if (found == schedules_.end()) {
    found = schedules_.emplace(std::string(op), Schedule{}).first;
  }
  return found->second;
}

void FaultPlan::failCall(std::string_view op, CallFault fault, int nth) {
  requireOffered(op);
  if (nth < 1) {
    throw std::invalid_argument("calls are counted from 1");
  }
  Schedule& schedule = scheduleOf(op);
  schedule.byCall[schedule.callsSeen + nth] = fault;
}

void FaultPlan::failEveryCall(std::string_view op, CallFault fault) {
  requireOffered(op);
  scheduleOf(op).always = fault;
}

void FaultPlan::refuseSuite(std::string name, std::int32_t version, SuiteRefusal refusal) {
  refusals_[{std::move(name), version}] = refusal;
}

std::optional<CallFault> FaultPlan::nextCall(std::string_view op) {
  Schedule& schedule = scheduleOf(op);
  const int call = ++schedule.callsSeen;
  if (schedule.always) {
    return schedule.always;
  }
  const auto due = schedule.byCall.find(call);
  if (due == schedule.byCall.end()) {
    return std::nullopt;
  }
  return due->second;
}

std::optional<SuiteRefusal> FaultPlan::refusalOf(std::string_view name,
                                                 std::int32_t version) const {
  const auto found = refusals_.find({std::string(name), version});
  if (found == refusals_.end()) {
    return std::nullopt;
  }
  return found->second;
}

std::vector<std::string> FaultPlan::unfired() const {
  std::vector<std::string> unfired;
  for (const auto& [op, schedule] : schedules_) {
    if (schedule.always && schedule.callsSeen == 0) {
      unfired.push_back("every call of " + op + " (none was made)");
    }
    for (const auto& [call, fault] : schedule.byCall) {
      if (call > schedule.callsSeen) {
        unfired.push_back("call " + std::to_string(call) + " of " + op + " (" +
                          std::to_string(schedule.callsSeen) + " made)");
      }
    }
  }
  return unfired;
}

}  // namespace glimster::substitute_host
