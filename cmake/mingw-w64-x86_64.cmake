# Cross toolchain: Windows x86-64 with Debian's mingw-w64 (g++-mingw-w64-x86-64).
#
# The "-posix" compilers are used: their libstdc++ has the complete C++ thread
# support. Everything built with this file links the GCC, C++ and threads
# runtimes statically (see the flags below), so the programs and the plug-in
# import only DLLs that every Windows has.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(GLIMSTER_MINGW_PREFIX x86_64-w64-mingw32 CACHE STRING "Target triple of the mingw-w64 tools")

find_program(CMAKE_C_COMPILER NAMES ${GLIMSTER_MINGW_PREFIX}-gcc-posix ${GLIMSTER_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${GLIMSTER_MINGW_PREFIX}-g++-posix ${GLIMSTER_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${GLIMSTER_MINGW_PREFIX}-windres REQUIRED)
find_program(CMAKE_AR NAMES ${GLIMSTER_MINGW_PREFIX}-gcc-ar-posix ${GLIMSTER_MINGW_PREFIX}-ar REQUIRED)
find_program(CMAKE_RANLIB NAMES ${GLIMSTER_MINGW_PREFIX}-gcc-ranlib-posix ${GLIMSTER_MINGW_PREFIX}-ranlib REQUIRED)
find_program(CMAKE_OBJDUMP NAMES ${GLIMSTER_MINGW_PREFIX}-objdump)

# Libraries and headers come from the target's sysroot only; programs (the
# build's own tools) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${GLIMSTER_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread go into every binary: nothing of the
# compiler's own runtime is needed beside it at run time.
set(_glimster_static_runtime "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${_glimster_static_runtime}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_glimster_static_runtime}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_glimster_static_runtime}")
