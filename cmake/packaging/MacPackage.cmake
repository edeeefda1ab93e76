# The archive a Mac user downloads, made from the universal Glimster.plugin
# of the macOS cross build (cmake/cross/Mac.cmake). scripts/package.sh builds
# it: the universal Glimster.plugin, INSTALL.txt, the licence notices of
# LodePNG, libc++ and libc++abi, and SHA256SUMS, in
# ${CMAKE_BINARY_DIR}/dist/Glimster-<version>-macos.zip
# (cmake/packaging/PackageMacZip.cmake). tests/package makes its own
# archives with GLIMSTER_MACOS_ZIP_ARGUMENTS.

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(GLIMSTER_MACOS_ZIP_NAME "Glimster-${PROJECT_VERSION}-macos.zip")
set(macos_install_text "${CMAKE_BINARY_DIR}/dist/macos/INSTALL.txt")
configure_file("${PROJECT_SOURCE_DIR}/packaging/macos/INSTALL.txt.in" "${macos_install_text}" @ONLY)
set(GLIMSTER_MACOS_ZIP_ARGUMENTS
  "-DBUNDLE=${GLIMSTER_MACOS_BUNDLE}" "-DINSTALL_TEXT=${macos_install_text}"
  "-DLODEPNG_SOURCE=${GLIMSTER_LODEPNG_DIR}/lodepng.cpp"
  "-DLIBCXX_NOTICE=${GLIMSTER_ZIG_DIR}/lib/libcxx/LICENSE.TXT"
  "-DLIBCXXABI_NOTICE=${GLIMSTER_ZIG_DIR}/lib/libcxxabi/LICENSE.TXT"
  "-DPYTHON=${Python3_EXECUTABLE}")
add_custom_target(glimster_macos_zip
  COMMAND "${CMAKE_COMMAND}" ${GLIMSTER_MACOS_ZIP_ARGUMENTS} "-DSTAGING=${CMAKE_BINARY_DIR}/dist/macos/staging"
          "-DZIP=${CMAKE_BINARY_DIR}/dist/${GLIMSTER_MACOS_ZIP_NAME}"
          -P "${PROJECT_SOURCE_DIR}/cmake/packaging/PackageMacZip.cmake"
  BYPRODUCTS "${CMAKE_BINARY_DIR}/dist/${GLIMSTER_MACOS_ZIP_NAME}"
  COMMENT "Writing dist/${GLIMSTER_MACOS_ZIP_NAME}"
  VERBATIM)
add_dependencies(glimster_macos_zip glimster_macos)
