// The suites the substitute host offers, by name and version.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace glimster::substitute_host {

// Position of each offered suite in offeredSuites().
enum class OfferedSuiteIndex : std::size_t {
  Command1,
  Register6,
  Utility7,
  Item10,
  Item13,
  Comp14,
  RenderOptions2,
  Render2,
  Memory1,
  World2,
};
inline constexpr std::size_t kOfferedSuiteCount = 10;

struct OfferedSuite {
  const char* name;
  std::int32_t version;
  const void* (*table)();  // the suite's function table
};

// Every offered suite, in OfferedSuiteIndex order.
const std::array<OfferedSuite, kOfferedSuiteCount>& offeredSuites();

}  // namespace glimster::substitute_host
