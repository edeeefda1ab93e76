// The Windows test program: glimster_windows_tests --plugin=<Glimster.aex> [GoogleTest options]
#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "tests/windows/WindowsTestSupport.h"

int wmain(int argc, wchar_t** argv) {
  testing::InitGoogleTest(&argc, argv);
  constexpr wchar_t kPluginOption[] = L"--plugin=";
  constexpr std::size_t kPluginOptionLength = sizeof kPluginOption / sizeof kPluginOption[0] - 1;
  for (int i = 1; i < argc; ++i) {
    if (std::wcsncmp(argv[i], kPluginOption, kPluginOptionLength) == 0) {
      glimster::windows_tests::SetPluginFile(argv[i] + kPluginOptionLength);
    } else {
      std::fprintf(stderr, "unknown argument: %ls\n", argv[i]);
      return 2;
    }
  }
  if (glimster::windows_tests::PluginFile().empty()) {
    std::fprintf(stderr,
                 "usage: glimster_windows_tests --plugin=<path of Glimster.aex> [gtest options]\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}
