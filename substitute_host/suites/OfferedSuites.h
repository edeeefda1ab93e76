// The suites the substitute host offers, by name and version.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace glimster::substitute_host {

// Position of each offered suite in offeredSuites().
enum class OfferedSuiteIndex : std::size_t {
  kCommand1,
  kRegister6,
  kUtility7,
  kItem10,
  kItem13,
  kComp14,
  kRenderOptions2,
  kRender2,
  kMemory1,
  kWorld2,
};
inline constexpr std::size_t kOfferedSuiteCount = 10;

struct OfferedSuite {
  const char* name;
  std::int32_t version;
  const void* (*table)();  // the suite's function table
};

// Every offered suite, in OfferedSuiteIndex order.
const std::array<OfferedSuite, kOfferedSuiteCount>& OfferedSuites();

}  // namespace glimster::substitute_host
