# The macos-arm64 tests: this same source tree configured again for Linux on
# aarch64 (cmake/toolchains/aarch64-linux-gnu.cmake) into
# ${CMAKE_BINARY_DIR}/aarch64, building only macos_runner, the substitute
# host, glimster-host and the host-driven test programs, which load the arm64
# slice of this tree's universal Glimster.plugin through the runner, under
# qemu-aarch64. Their tests join this tree's ctest, named
# "macos-arm64.<test>", labelled macos-arm64; glimster-host --macos arm64
# hands over to that tree's glimster-host.

include(ExternalProject)
include("${CMAKE_CURRENT_LIST_DIR}/LabelledBuild.cmake")

set(GLIMSTER_AARCH64_GTEST_SOURCES "/usr/src/googletest" CACHE PATH
    "GoogleTest's sources, built for aarch64 (Debian: googletest)")
find_program(GLIMSTER_QEMU_AARCH64 NAMES qemu-aarch64)
find_program(GLIMSTER_AARCH64_CXX NAMES aarch64-linux-gnu-g++)
if(NOT GLIMSTER_QEMU_AARCH64 OR NOT GLIMSTER_AARCH64_CXX
   OR NOT EXISTS "${GLIMSTER_AARCH64_GTEST_SOURCES}/CMakeLists.txt")
  message(FATAL_ERROR "The macos-arm64 tests need qemu-aarch64, aarch64-linux-gnu-g++ and "
                      "GoogleTest's sources (Debian: qemu-user g++-aarch64-linux-gnu googletest "
                      "libpng-dev:arm64 libstdc++6:arm64; scripts/install-dependencies.sh), or "
                      "configure with -DGLIMSTER_MACOS_CROSS=OFF")
endif()

set(GLIMSTER_AARCH64_BINARY_DIR "${CMAKE_BINARY_DIR}/aarch64")
glimster_labelled_build_command(aarch64_build_command "aarch64 tests")
ExternalProject_Add(glimster_aarch64
  SOURCE_DIR "${PROJECT_SOURCE_DIR}"
  BINARY_DIR "${GLIMSTER_AARCH64_BINARY_DIR}"
  PREFIX "${CMAKE_BINARY_DIR}/aarch64-stamps"
  CMAKE_ARGS
    --no-warn-unused-cli
    # A tree configured with other arguments before (another toolchain file,
    # which CMake cannot change in a configured tree) is configured anew.
    --fresh
    "-DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchains/aarch64-linux-gnu.cmake"
    "-DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}"
    -DGLIMSTER_MACOS_RUNNER_ONLY=ON
    "-DGLIMSTER_GTEST_SOURCE_DIR=${GLIMSTER_AARCH64_GTEST_SOURCES}"
    "-DGLIMSTER_MACOS_RUNNER_DEFAULT_BUNDLE=${GLIMSTER_MACOS_BUNDLE}"
    "-DGLIMSTER_LODEPNG_DIR=${GLIMSTER_LODEPNG_DIR}"
  BUILD_COMMAND ${aarch64_build_command}
  BUILD_ALWAYS ON
  INSTALL_COMMAND "")

# ctest reads that tree's tests too, once it is built.
set(aarch64_tests "${CMAKE_BINARY_DIR}/aarch64-tests.cmake")
file(CONFIGURE OUTPUT "${aarch64_tests}" CONTENT [[
if(EXISTS "@GLIMSTER_AARCH64_BINARY_DIR@/CTestTestfile.cmake")
  subdirs("@GLIMSTER_AARCH64_BINARY_DIR@")
endif()
]] @ONLY)
set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY TEST_INCLUDE_FILES "${aarch64_tests}")

# glimster-host --macos arm64: that tree's glimster-host, under the emulator.
set_property(TARGET glimster-host APPEND PROPERTY GLIMSTER_MACOS_SLICES arm64)
target_compile_definitions(glimster_host_cli PRIVATE
  GLIMSTER_MACOS_OTHER_ARCH="arm64"
  "GLIMSTER_MACOS_OTHER_HOST=\"${GLIMSTER_QEMU_AARCH64}\",\"${GLIMSTER_AARCH64_BINARY_DIR}/substitute_host/glimster-host\"")
