#include "substitute_host/SuiteLedger.h"

namespace glimster::substitute_host {

void SuiteLedger::acquired(std::string_view name, std::int32_t version) {
  ++held_[{std::string(name), version}];
}

bool SuiteLedger::holds(std::string_view name, std::int32_t version) const {
  const auto found = held_.find({std::string(name), version});
  return found != held_.end() && found->second > 0;
}

void SuiteLedger::released(std::string_view name, std::int32_t version) {
  --held_.at({std::string(name), version});
}

std::size_t SuiteLedger::outstanding() const {
  std::size_t total = 0;
  for (const auto& [suite, count] : held_) {
    total += count;
  }
  return total;
}

}  // namespace glimster::substitute_host
