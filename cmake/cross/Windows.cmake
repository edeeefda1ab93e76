# The Windows deliverable from the Linux build: this same source tree, built
# again with the mingw-w64 cross toolchain into ${CMAKE_BINARY_DIR}/windows,
# gives Glimster.aex (and, with GLIMSTER_TESTS, the Windows test program and
# substitute host). cmake/packaging/WindowsPackages.cmake makes its downloads;
# tests/wine runs the Windows programs under Wine and checks the .aex with
# tools that did not build it (objdump, wrestool).

include(ExternalProject)
include("${CMAKE_CURRENT_LIST_DIR}/LabelledBuild.cmake")

set(GLIMSTER_MINGW_TOOLCHAIN "${PROJECT_SOURCE_DIR}/cmake/toolchains/mingw-w64-x86_64.cmake")
set(GLIMSTER_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH
    "GoogleTest sources, built with the cross compiler for the Windows tests (Debian: googletest)")

# Everything the cross build and its checks need, found now rather than
# halfway through the build.
find_program(GLIMSTER_MINGW_CXX NAMES x86_64-w64-mingw32-g++-win32 x86_64-w64-mingw32-g++)
find_program(GLIMSTER_MINGW_WINDRES NAMES x86_64-w64-mingw32-windres)
find_program(GLIMSTER_MINGW_OBJDUMP NAMES x86_64-w64-mingw32-objdump)
if(NOT GLIMSTER_MINGW_CXX OR NOT GLIMSTER_MINGW_WINDRES OR NOT GLIMSTER_MINGW_OBJDUMP)
  message(FATAL_ERROR "The Windows cross build needs mingw-w64 (Debian: g++-mingw-w64-x86-64 "
                      "binutils-mingw-w64-x86-64), or configure with -DGLIMSTER_WINDOWS_CROSS=OFF")
endif()

set(GLIMSTER_WINDOWS_BINARY_DIR "${CMAKE_BINARY_DIR}/windows")
set(GLIMSTER_AEX "${GLIMSTER_WINDOWS_BINARY_DIR}/plugin/Glimster.aex")
set(GLIMSTER_WINDOWS_TEST_PROGRAM "${GLIMSTER_WINDOWS_BINARY_DIR}/tests/windows/glimster_windows_tests.exe")
set(GLIMSTER_WINDOWS_HOST_PROGRAM "${GLIMSTER_WINDOWS_BINARY_DIR}/substitute_host/glimster-host.exe")
set(windows_byproducts "${GLIMSTER_AEX}")

set(windows_test_args)
if(GLIMSTER_TESTS)
  if(NOT EXISTS "${GLIMSTER_GTEST_SOURCE_DIR}/googletest/CMakeLists.txt")
    message(FATAL_ERROR "No GoogleTest sources in ${GLIMSTER_GTEST_SOURCE_DIR} (Debian: googletest)")
  endif()
  list(APPEND windows_test_args "-DGLIMSTER_GTEST_SOURCE_DIR=${GLIMSTER_GTEST_SOURCE_DIR}")
  list(APPEND windows_byproducts "${GLIMSTER_WINDOWS_TEST_PROGRAM}" "${GLIMSTER_WINDOWS_HOST_PROGRAM}")
endif()

glimster_labelled_build_command(windows_build_command "Windows")
ExternalProject_Add(glimster_windows
  SOURCE_DIR "${PROJECT_SOURCE_DIR}"
  BINARY_DIR "${GLIMSTER_WINDOWS_BINARY_DIR}"
  PREFIX "${CMAKE_BINARY_DIR}/windows-stamps"
  CMAKE_ARGS
    --no-warn-unused-cli
    # A tree configured with other arguments before (another toolchain file,
    # which CMake cannot change in a configured tree) is configured anew.
    --fresh
    "-DCMAKE_TOOLCHAIN_FILE=${GLIMSTER_MINGW_TOOLCHAIN}"
    -DCMAKE_BUILD_TYPE=Release
    -DGLIMSTER_WINDOWS_CROSS=OFF
    "-DGLIMSTER_TESTS=${GLIMSTER_TESTS}"
    "-DGLIMSTER_PIPL_GEN=$<TARGET_FILE:glimster_pipl_gen>"
    "-DGLIMSTER_LODEPNG_DIR=${GLIMSTER_LODEPNG_DIR}"
    ${windows_test_args}
  BUILD_COMMAND ${windows_build_command}
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  DEPENDS glimster_pipl_gen
  BUILD_BYPRODUCTS ${windows_byproducts})
