// The suites the plug-in holds: acquired and not yet released.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace glimster::substitute_host {

class SuiteLedger {
 public:
  // Counts one acquisition of the suite.
  void acquired(std::string_view name, std::int32_t version);
  // Whether at least one acquisition of the suite is not released.
  bool holds(std::string_view name, std::int32_t version) const;
  // Counts one release of a suite that holds() says is held.
  void released(std::string_view name, std::int32_t version);
  // How many acquisitions are not released.
  std::size_t outstanding() const;

 private:
  std::map<std::pair<std::string, std::int32_t>, std::size_t> held_;
};

}  // namespace glimster::substitute_host
