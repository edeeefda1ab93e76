#include "FaultPoints.h"

#include "substitute_host/Operations.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <stdexcept>
#include <tuple>

namespace glimster::reliability {

namespace op = substitute_host::op;
using substitute_host::Outputs;

bool FaultPoint::isAcquire() const { return op == op::AcquireSuite; }

std::string FaultPoint::describe() const {
  return isAcquire() ? op + " " + suite : op + " #" + std::to_string(nth);
}

bool FaultPoint::operator<(const FaultPoint& other) const {
  return std::tie(op, nth, suite) < std::tie(other.op, other.nth, other.suite);
}

std::string PlantedFault::describe() const {
  return at.describe() + " -> " + std::to_string(code) +
         (outputs == Outputs::Cleared ? " without effect" : " with effect");
}

std::vector<FaultPoint> FaultPointsOf(const substitute_host::CallLog& log) {
  std::vector<FaultPoint> points;
  std::map<std::string, int> callsSoFar;
  for (const substitute_host::Call& call : log.calls()) {
    if (call.op == op::AcquireSuite) {
      points.push_back(FaultPoint{call.op, 0, call.args});
    } else if (std::find(std::begin(op::kFaultable), std::end(op::kFaultable), call.op) !=
               std::end(op::kFaultable)) {
      points.push_back(FaultPoint{call.op, ++callsSoFar[call.op], {}});
    }
  }
  return points;
}

std::vector<PlantedFault> FaultsAt(const FaultPoint& point, A_Err code) {
  return {PlantedFault{point, 0, Outputs::Cleared}, PlantedFault{point, code, Outputs::Cleared},
          PlantedFault{point, code, Outputs::Written}};
}

void Plant(const FaultPath& path, substitute_host::FaultPlan& plan) {
  for (const PlantedFault& fault : path) {
    if (fault.at.isAcquire()) {
      const SuiteName suite = ParseSuite(fault.at.suite);
      plan.refuseSuite(suite.name, suite.version,
                       substitute_host::SuiteRefusal{fault.code, fault.outputs});
    } else {
      plan.failCall(fault.at.op, substitute_host::CallFault{fault.code, fault.outputs},
                    fault.at.nth);
    }
  }
}

SuiteName ParseSuite(const std::string& logged) {
  const std::size_t close = logged.rfind('"');
  if (logged.size() < 4 || logged.front() != '"' || close == 0 || close + 2 > logged.size()) {
    throw std::invalid_argument("not a logged suite: " + logged);
  }
  return SuiteName{logged.substr(1, close - 1), std::stoi(logged.substr(close + 2))};
}

}  // namespace glimster::reliability
