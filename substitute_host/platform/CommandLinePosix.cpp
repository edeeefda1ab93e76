#include "substitute_host/platform/CommandLine.h"

namespace glimster::substitute_host::platform {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

}  // namespace glimster::substitute_host::platform
