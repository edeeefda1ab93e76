// Platform seam: a program's command-line arguments as UTF-8.
#pragma once

#include <string>
#include <vector>

namespace glimster::substitute_host::platform {

// The arguments after the program's name, in UTF-8: argv as given on Linux
// and macOS; on Windows read again from the wide command line, since argv
// holds them in the ANSI code page.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace glimster::substitute_host::platform
