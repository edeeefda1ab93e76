# Linux on aarch64, with Debian's cross compiler (g++-aarch64-linux-gnu).
# The programs built run here under qemu-aarch64 (qemu-user) with Debian's
# aarch64 libraries installed beside this machine's (multiarch: libc6:arm64,
# libstdc++6:arm64, libpng-dev:arm64), loaded by the loader they name,
# /lib/ld-linux-aarch64.so.1. The compiler finds those headers and libraries
# itself (/usr/include, /usr/lib/aarch64-linux-gnu).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

find_program(GLIMSTER_QEMU_AARCH64 NAMES qemu-aarch64 REQUIRED)
# Runs the test programs, so that gtest_discover_tests lists their tests.
set(CMAKE_CROSSCOMPILING_EMULATOR "${GLIMSTER_QEMU_AARCH64}")
