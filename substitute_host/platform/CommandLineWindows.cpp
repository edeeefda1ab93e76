#include "substitute_host/platform/CommandLine.h"

#include <windows.h>

#include <shellapi.h>  // after <windows.h>, which it needs

#include <memory>
#include <stdexcept>

namespace glimster::substitute_host::platform {
namespace {

struct LocalFreeDeleter {
  void operator()(LPWSTR* block) const { LocalFree(block); }
};

std::string Utf8Of(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) {
    throw std::runtime_error("an argument cannot be converted to UTF-8");
  }
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
  utf8.pop_back();  // the terminating NUL
  return utf8;
}

}  // namespace

std::vector<std::string> Utf8Arguments(int, char**) {
  int count = 0;
  const std::unique_ptr<LPWSTR, LocalFreeDeleter> wide(
      CommandLineToArgvW(GetCommandLineW(), &count));
  if (!wide) {
    throw std::runtime_error("the command line cannot be read");
  }
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) {
    arguments.push_back(Utf8Of(wide.get()[i]));
  }
  return arguments;
}

}  // namespace glimster::substitute_host::platform
