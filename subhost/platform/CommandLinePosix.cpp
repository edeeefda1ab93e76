#include "subhost/platform/CommandLine.h"

namespace glimster::subhost::platform {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

} // namespace glimster::subhost::platform
