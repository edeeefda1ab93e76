# GLIMSTER_SANITIZE: every target of this build, the plug-in module included,
# compiled and linked with AddressSanitizer and UndefinedBehaviorSanitizer;
# the first finding ends the program. The runtime lands in each executable,
# so the plug-in loaded by dlopen shares it.
option(GLIMSTER_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(GLIMSTER_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    message(FATAL_ERROR "GLIMSTER_SANITIZE needs gcc or clang")
  endif()
  set(glimster_sanitizer_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${glimster_sanitizer_flags})
  add_link_options(${glimster_sanitizer_flags})
  # A test program checks for leaks as it exits, with the suppressions that
  # the linux-sanitize test preset names: list its tests under ctest, not
  # while building.
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
endif()
