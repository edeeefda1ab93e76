# The archive and the installer a Windows user downloads, made from the
# Glimster.aex of the Windows cross build (cmake/cross/Windows.cmake).
# scripts/package.sh builds both, in ${CMAKE_BINARY_DIR}/dist:
#   Glimster-<version>-windows-x64.zip: Glimster.aex, INSTALL.txt (Windows
#     line ends), the licence notices and SHA256SUMS
#     (cmake/packaging/PackageZip.cmake);
#   Glimster-<version>-windows-x64.msi: Glimster.aex, README.txt and the same
#     notices, installed per machine (packaging/windows/Glimster.wxs.in, built
#     with wixl by cmake/packaging/PackageMsi.cmake).
# The notices, of everything linked into Glimster.aex, are written by
# cmake/packaging/WindowsNotices.cmake for both from the texts Debian
# installs. The GLIMSTER_WINDOWS_*_ARGUMENTS set here are also what
# tests/package and tests/wine make their own archives and installers with.

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(GLIMSTER_MINGW_COPYRIGHT "/usr/share/doc/mingw-w64-x86-64-dev/copyright" CACHE FILEPATH
    "The copyright file of mingw-w64, whose runtime is linked into Glimster.aex (Debian: mingw-w64-x86-64-dev)")
set(GLIMSTER_GCC_COPYRIGHT "/usr/share/doc/gcc-mingw-w64-base/copyright" CACHE FILEPATH
    "The copyright file of GCC for mingw-w64, whose runtime is linked into Glimster.aex (Debian: gcc-mingw-w64-base)")
set(GLIMSTER_GPL3 "/usr/share/common-licenses/GPL-3" CACHE FILEPATH
    "The text of the GNU General Public License, version 3 (Debian: base-files)")
foreach(notice_source GLIMSTER_MINGW_COPYRIGHT GLIMSTER_GCC_COPYRIGHT GLIMSTER_GPL3)
  if(NOT EXISTS "${${notice_source}}")
    message(FATAL_ERROR "${${notice_source}} not found: the Windows packages need it for their licence notices")
  endif()
endforeach()
find_program(GLIMSTER_WIXL NAMES wixl)
find_program(GLIMSTER_MSIBUILD NAMES msibuild)
find_program(GLIMSTER_FAKETIME NAMES faketime)
if(NOT GLIMSTER_WIXL OR NOT GLIMSTER_MSIBUILD OR NOT GLIMSTER_FAKETIME)
  message(FATAL_ERROR "The Windows installer needs wixl, msibuild and faketime (Debian: wixl msitools "
                      "faketime), or configure with -DGLIMSTER_WINDOWS_CROSS=OFF")
endif()
set(GLIMSTER_WINDOWS_NOTICE_ARGUMENTS
  "-DLODEPNG_SOURCE=${GLIMSTER_LODEPNG_DIR}/lodepng.cpp" "-DMINGW_COPYRIGHT=${GLIMSTER_MINGW_COPYRIGHT}"
  "-DGCC_COPYRIGHT=${GLIMSTER_GCC_COPYRIGHT}" "-DGPL3=${GLIMSTER_GPL3}" "-DPYTHON=${Python3_EXECUTABLE}")

set(GLIMSTER_WINDOWS_ZIP_NAME "Glimster-${PROJECT_VERSION}-windows-x64.zip")
set(GLIMSTER_WINDOWS_INSTALL_TEXT "${CMAKE_BINARY_DIR}/dist/INSTALL.txt")
configure_file("${PROJECT_SOURCE_DIR}/packaging/windows/INSTALL.txt.in" "${GLIMSTER_WINDOWS_INSTALL_TEXT}"
               @ONLY NEWLINE_STYLE CRLF)
set(GLIMSTER_WINDOWS_ZIP_ARGUMENTS "-DAEX=${GLIMSTER_AEX}" "-DINSTALL_TEXT=${GLIMSTER_WINDOWS_INSTALL_TEXT}"
                                   ${GLIMSTER_WINDOWS_NOTICE_ARGUMENTS})
add_custom_target(glimster_windows_zip
  COMMAND "${CMAKE_COMMAND}" ${GLIMSTER_WINDOWS_ZIP_ARGUMENTS} "-DSTAGING=${CMAKE_BINARY_DIR}/dist/staging"
          "-DZIP=${CMAKE_BINARY_DIR}/dist/${GLIMSTER_WINDOWS_ZIP_NAME}"
          -P "${PROJECT_SOURCE_DIR}/cmake/packaging/PackageZip.cmake"
  BYPRODUCTS "${CMAKE_BINARY_DIR}/dist/${GLIMSTER_WINDOWS_ZIP_NAME}"
  COMMENT "Writing dist/${GLIMSTER_WINDOWS_ZIP_NAME}"
  VERBATIM)
add_dependencies(glimster_windows_zip glimster_windows)

set(GLIMSTER_WINDOWS_MSI_NAME "Glimster-${PROJECT_VERSION}-windows-x64.msi")
set(windows_readme "${CMAKE_BINARY_DIR}/dist/msi/README.txt")
configure_file("${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in" "${windows_readme}"
               @ONLY NEWLINE_STYLE CRLF)
# Everything but the .aex and the version, which the installer's tests vary.
set(GLIMSTER_WINDOWS_MSI_ARGUMENTS
  "-DREADME=${windows_readme}" "-DWXS=${PROJECT_SOURCE_DIR}/packaging/windows/Glimster.wxs.in"
  "-DWIXL=${GLIMSTER_WIXL}" "-DMSIBUILD=${GLIMSTER_MSIBUILD}" "-DFAKETIME=${GLIMSTER_FAKETIME}"
  ${GLIMSTER_WINDOWS_NOTICE_ARGUMENTS})
add_custom_target(glimster_windows_msi
  COMMAND "${CMAKE_COMMAND}" "-DAEX=${GLIMSTER_AEX}" "-DVERSION=${PROJECT_VERSION}" ${GLIMSTER_WINDOWS_MSI_ARGUMENTS}
          "-DSTAGING=${CMAKE_BINARY_DIR}/dist/msi/staging"
          "-DMSI=${CMAKE_BINARY_DIR}/dist/${GLIMSTER_WINDOWS_MSI_NAME}"
          -P "${PROJECT_SOURCE_DIR}/cmake/packaging/PackageMsi.cmake"
  BYPRODUCTS "${CMAKE_BINARY_DIR}/dist/${GLIMSTER_WINDOWS_MSI_NAME}"
  COMMENT "Writing dist/${GLIMSTER_WINDOWS_MSI_NAME}"
  VERBATIM)
add_dependencies(glimster_windows_msi glimster_windows)
