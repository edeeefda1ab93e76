#include "substitute_host/FaultPlan.h"

#include "substitute_host/Operations.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace glimster::substitute_host {
namespace {

// Throws std::invalid_argument unless `op` names an operation the host offers.
void RequireOffered(std::string_view op) {
  if (std::find(std::begin(op::kFaultable), std::end(op::kFaultable), op) ==
      std::end(op::kFaultable)) {
    throw std::invalid_argument("no offered operation is called " + std::string(op));
  }
}

}  // namespace

FaultPlan::Schedule& FaultPlan::ScheduleOf(std::string_view op) {
  auto found = schedules_.find(op);
  if (found == schedules_.end()) {
    found = schedules_.emplace(std::string(op), Schedule{}).first;
  }
  return found->second;
}

void FaultPlan::FailCall(std::string_view op, CallFault fault, int nth) {
  RequireOffered(op);
  if (nth < 1) {
    throw std::invalid_argument("calls are counted from 1");
  }
  Schedule& schedule = ScheduleOf(op);
  schedule.by_call[schedule.calls_seen + nth] = fault;
}

void FaultPlan::FailEveryCall(std::string_view op, CallFault fault) {
  RequireOffered(op);
  ScheduleOf(op).always = fault;
}

void FaultPlan::RefuseSuite(std::string name, std::int32_t version, SuiteRefusal refusal) {
  refusals_[{std::move(name), version}] = refusal;
}

std::optional<CallFault> FaultPlan::NextCall(std::string_view op) {
  Schedule& schedule = ScheduleOf(op);
  const int call = ++schedule.calls_seen;
  if (schedule.always) {
    return schedule.always;
  }
  const auto due = schedule.by_call.find(call);
  if (due == schedule.by_call.end()) {
    return std::nullopt;
  }
  return due->second;
}

std::optional<SuiteRefusal> FaultPlan::RefusalOf(std::string_view name,
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
    if (schedule.always && schedule.calls_seen == 0) {
      unfired.push_back("every call of " + op + " (none was made)");
    }
    for (const auto& [call, fault] : schedule.by_call) {
      if (call > schedule.calls_seen) {
        unfired.push_back("call " + std::to_string(call) + " of " + op + " (" +
                          std::to_string(schedule.calls_seen) + " made)");
      }
    }
  }
  return unfired;
}

}  // namespace glimster::substitute_host
