# Cross toolchain: Windows x86-64 with Debian's mingw-w64 (g++-mingw-w64-x86-64).
#
# The "-win32" compilers are used: their C++ runtime sets up its locks at
# start-up with Windows' own calls, where the "-posix" ones (winpthreads)
# allocate each static lock at its first use, and so the lock of the
# emergency memory for exceptions when memory has just run out: that
# allocation fails, and the runtime throws again for it without end, until
# the stack overflows and takes the host with it. Nothing here uses C++
# threads. Everything built with this file links the GCC and C++ runtimes
# statically (see the flags below), so the programs and the plug-in import
# only DLLs that every Windows has.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(GLIMSTER_MINGW_PREFIX x86_64-w64-mingw32 CACHE STRING "Target triple of the mingw-w64 tools")

find_program(CMAKE_C_COMPILER NAMES ${GLIMSTER_MINGW_PREFIX}-gcc-win32 ${GLIMSTER_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${GLIMSTER_MINGW_PREFIX}-g++-win32 ${GLIMSTER_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${GLIMSTER_MINGW_PREFIX}-windres REQUIRED)
find_program(CMAKE_AR NAMES ${GLIMSTER_MINGW_PREFIX}-gcc-ar-win32 ${GLIMSTER_MINGW_PREFIX}-ar REQUIRED)
find_program(CMAKE_RANLIB NAMES ${GLIMSTER_MINGW_PREFIX}-gcc-ranlib-win32 ${GLIMSTER_MINGW_PREFIX}-ranlib REQUIRED)
find_program(CMAKE_OBJDUMP NAMES ${GLIMSTER_MINGW_PREFIX}-objdump)

# Libraries and headers come from the target's sysroot only; programs (the
# build's own tools) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${GLIMSTER_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc and libstdc++ go into every binary: nothing of the
# compiler's own runtime is needed beside it at run time.
set(_glimster_static_runtime "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${_glimster_static_runtime}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_glimster_static_runtime}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_glimster_static_runtime}")
