#include "FaultPoints.h"

#include "substitute_host/Operations.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <stdexcept>
#include <tuple>

namespace glimster::reliability {

namespace op = substitute_host::op;
using substitute_host::Outputs;

namespace {

// The suite name and version in a log's "\"name\" version".
struct SuiteName {
  std::string name;
  std::int32_t version;
};

SuiteName ParseSuite(const std::string& logged) {
  const std::size_t close = logged.rfind('"');
  if (logged.size() < 4 || logged.front() != '"' || close == 0 || close + 2 > logged.size()) {
    throw std::invalid_argument("not a logged suite: " + logged);
  }
  return SuiteName{logged.substr(1, close - 1), std::stoi(logged.substr(close + 2))};
}

}  // namespace

bool FaultPoint::IsAcquire() const { return op == op::kAcquireSuite; }

std::string FaultPoint::describe() const {
  return IsAcquire() ? op + " " + suite : op + " #" + std::to_string(nth);
}

bool FaultPoint::operator<(const FaultPoint& other) const {
  return std::tie(op, nth, suite) < std::tie(other.op, other.nth, other.suite);
}

std::string PlantedFault::describe() const {
  return at.describe() + " -> " + std::to_string(code) +
         (outputs == Outputs::kCleared ? " without effect" : " with effect");
}

std::vector<FaultPoint> FaultPointsOf(const substitute_host::CallLog& log) {
  std::vector<FaultPoint> points;
  std::map<std::string, int> calls_so_far;
  for (const substitute_host::Call& call : log.calls()) {
    if (call.op == op::kAcquireSuite) {
      points.push_back(FaultPoint{call.op, 0, call.args});
    } else if (std::find(std::begin(op::kFaultable), std::end(op::kFaultable), call.op) !=
               std::end(op::kFaultable)) {
      points.push_back(FaultPoint{call.op, ++calls_so_far[call.op], {}});
    }
  }
  return points;
}

std::vector<PlantedFault> FaultsAt(const FaultPoint& point, A_Err code) {
  return {PlantedFault{point, 0, Outputs::kCleared}, PlantedFault{point, code, Outputs::kCleared},
          PlantedFault{point, code, Outputs::kWritten}};
}

void Plant(const FaultPath& path, substitute_host::FaultPlan& plan) {
  for (const PlantedFault& fault : path) {
    if (fault.at.IsAcquire()) {
      const SuiteName suite = ParseSuite(fault.at.suite);
      plan.RefuseSuite(suite.name, suite.version,
                       substitute_host::SuiteRefusal{fault.code, fault.outputs});
    } else {
      plan.FailCall(fault.at.op, substitute_host::CallFault{fault.code, fault.outputs},
                    fault.at.nth);
    }
  }
}

}  // namespace glimster::reliability
