#include "substitute_host/CallLog.h"

#include <algorithm>

namespace glimster::substitute_host {

std::size_t CallLog::record(std::string op, std::string args, A_Err result) {
  calls_.push_back(Call{std::move(op), std::move(args), result});
  return calls_.size() - 1;
}

void CallLog::SetResult(std::size_t position, A_Err result) { calls_.at(position).result = result; }

std::vector<Call> CallLog::CallsOf(std::string_view op) const {
  std::vector<Call> matching;
  std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(matching),
               [op](const Call& call) { return call.op == op; });
  return matching;
}

std::vector<std::string> CallLog::ArgsOf(std::string_view op) const {
  std::vector<std::string> args;
  for (const Call& call : calls_) {
    if (call.op == op) {
      args.push_back(call.args);
    }
  }
  return args;
}

std::vector<std::string> CallLog::ops() const {
  std::vector<std::string> names;
  names.reserve(calls_.size());
  for (const Call& call : calls_) {
    names.push_back(call.op);
  }
  return names;
}

std::size_t CallLog::count(std::string_view op) const {
  return static_cast<std::size_t>(std::count_if(calls_.begin(), calls_.end(),
                                                [op](const Call& call) { return call.op == op; }));
}

std::string SuiteArgs(std::string_view name, std::int32_t version) {
  return '"' + std::string(name) + "\" " + std::to_string(version);
}

}  // namespace glimster::substitute_host
