# The Windows deliverable from the Linux build: this same source tree, built
# again with the mingw-w64 cross toolchain into ${CMAKE_BINARY_DIR}/windows,
# gives Glimster.aex (and, with GLIMSTER_TESTS, the Windows test program).
# This build's ctest then runs the Windows tests under Wine and checks the
# .aex with tools that did not build it (objdump, wrestool).

include(ExternalProject)
include(LabelledBuild)

set(GLIMSTER_MINGW_TOOLCHAIN "${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake")
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

# ---- The archive and the installer a Windows user downloads ----------------
# scripts/package.sh builds both, in ${CMAKE_BINARY_DIR}/dist:
#   Glimster-<version>-windows-x64.zip: Glimster.aex, INSTALL.txt (Windows
#     line ends), the licence notices and SHA256SUMS (cmake/PackageZip.cmake);
#   Glimster-<version>-windows-x64.msi: Glimster.aex, README.txt and the same
#     notices, installed per machine (packaging/windows/Glimster.wxs.in, built
#     with wixl by cmake/PackageMsi.cmake).
# The notices, of everything linked into Glimster.aex, are written by
# cmake/WindowsNotices.cmake for both from the texts Debian installs.

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
set(windows_notice_arguments
  "-DLODEPNG_SOURCE=${GLIMSTER_LODEPNG_DIR}/lodepng.cpp" "-DMINGW_COPYRIGHT=${GLIMSTER_MINGW_COPYRIGHT}"
  "-DGCC_COPYRIGHT=${GLIMSTER_GCC_COPYRIGHT}" "-DGPL3=${GLIMSTER_GPL3}" "-DPYTHON=${Python3_EXECUTABLE}")

set(GLIMSTER_WINDOWS_ZIP_NAME "Glimster-${PROJECT_VERSION}-windows-x64.zip")
set(windows_install_text "${CMAKE_BINARY_DIR}/dist/INSTALL.txt")
configure_file("${PROJECT_SOURCE_DIR}/packaging/windows/INSTALL.txt.in" "${windows_install_text}"
               @ONLY NEWLINE_STYLE CRLF)
set(windows_zip_arguments "-DAEX=${GLIMSTER_AEX}" "-DINSTALL_TEXT=${windows_install_text}"
                          ${windows_notice_arguments})
add_custom_target(glimster_windows_zip
  COMMAND "${CMAKE_COMMAND}" ${windows_zip_arguments} "-DSTAGING=${CMAKE_BINARY_DIR}/dist/staging"
          "-DZIP=${CMAKE_BINARY_DIR}/dist/${GLIMSTER_WINDOWS_ZIP_NAME}"
          -P "${PROJECT_SOURCE_DIR}/cmake/PackageZip.cmake"
  BYPRODUCTS "${CMAKE_BINARY_DIR}/dist/${GLIMSTER_WINDOWS_ZIP_NAME}"
  COMMENT "Writing dist/${GLIMSTER_WINDOWS_ZIP_NAME}"
  VERBATIM)
add_dependencies(glimster_windows_zip glimster_windows)

set(GLIMSTER_WINDOWS_MSI_NAME "Glimster-${PROJECT_VERSION}-windows-x64.msi")
set(windows_readme "${CMAKE_BINARY_DIR}/dist/msi/README.txt")
configure_file("${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in" "${windows_readme}"
               @ONLY NEWLINE_STYLE CRLF)
# Everything but the .aex and the version, which the installer's tests vary.
set(windows_msi_arguments
  "-DREADME=${windows_readme}" "-DWXS=${PROJECT_SOURCE_DIR}/packaging/windows/Glimster.wxs.in"
  "-DWIXL=${GLIMSTER_WIXL}" "-DMSIBUILD=${GLIMSTER_MSIBUILD}" "-DFAKETIME=${GLIMSTER_FAKETIME}"
  ${windows_notice_arguments})
add_custom_target(glimster_windows_msi
  COMMAND "${CMAKE_COMMAND}" "-DAEX=${GLIMSTER_AEX}" "-DVERSION=${PROJECT_VERSION}" ${windows_msi_arguments}
          "-DSTAGING=${CMAKE_BINARY_DIR}/dist/msi/staging"
          "-DMSI=${CMAKE_BINARY_DIR}/dist/${GLIMSTER_WINDOWS_MSI_NAME}"
          -P "${PROJECT_SOURCE_DIR}/cmake/PackageMsi.cmake"
  BYPRODUCTS "${CMAKE_BINARY_DIR}/dist/${GLIMSTER_WINDOWS_MSI_NAME}"
  COMMENT "Writing dist/${GLIMSTER_WINDOWS_MSI_NAME}"
  VERBATIM)
add_dependencies(glimster_windows_msi glimster_windows)

if(NOT GLIMSTER_TESTS)
  return()
endif()

# ---- The Windows tests, run under Wine --------------------------------------

# Debian 12 puts the 64-bit loader outside PATH.
find_program(GLIMSTER_WINE_LOADER NAMES wine64 wine HINTS /usr/lib/wine /usr/lib64/wine)
find_program(GLIMSTER_WINESERVER NAMES wineserver wineserver64 HINTS /usr/lib/wine /usr/lib64/wine)
find_file(GLIMSTER_WINE_INF wine.inf HINTS /usr/share/wine /usr/lib/wine)
find_program(GLIMSTER_WRESTOOL NAMES wrestool)
if(NOT GLIMSTER_WINE_LOADER OR NOT GLIMSTER_WINESERVER OR NOT GLIMSTER_WRESTOOL)
  message(FATAL_ERROR "The Windows tests need Wine and icoutils (Debian: wine64 icoutils), "
                      "or configure with -DGLIMSTER_WINDOWS_CROSS=OFF")
endif()

set(GLIMSTER_WINE_DIR "${CMAKE_BINARY_DIR}/wine")
set(wine_run "${GLIMSTER_WINE_DIR}/wine-run")
configure_file("${PROJECT_SOURCE_DIR}/tests/windows/wine-run.sh.in" "${wine_run}" @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)

# Before any Wine test: the prefix (booted when missing or made by another
# Wine, which takes a while), and its server; stopped after the last one.
add_test(NAME wine.Prefix COMMAND "${wine_run}" --boot)
set_tests_properties(wine.Prefix PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 600)
add_test(NAME wine.Shutdown COMMAND "${wine_run}" --shutdown)
set_tests_properties(wine.Shutdown PROPERTIES FIXTURES_CLEANUP wine_prefix TIMEOUT 60)

# The Windows programs see the Unix root as drive Z:.
function(glimster_windows_path out_var unix_path)
  string(REPLACE "/" "\\" windows_path "${unix_path}")
  set(${out_var} "Z:${windows_path}" PARENT_SCOPE)
endfunction()
glimster_windows_path(aex_for_wine "${GLIMSTER_AEX}")

# One ctest test per GoogleTest suite, named wine.<Suite> and labelled
# windows, read from the sources: the Windows tests' own and the cases every
# binary runs. One Wine process a suite: starting one takes about a second.
# wine.TestList fails when the program holds a suite not registered so.
set(windows_test_dir "${PROJECT_SOURCE_DIR}/tests/windows")
file(GLOB windows_test_sources CONFIGURE_DEPENDS "${windows_test_dir}/*Test.cpp")
include("${PROJECT_SOURCE_DIR}/tests/capture/SharedCases.cmake")
list(TRANSFORM GLIMSTER_SHARED_CASES PREPEND "${PROJECT_SOURCE_DIR}/")
list(APPEND windows_test_sources ${GLIMSTER_SHARED_CASES})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${windows_test_sources})
set(windows_suites)
foreach(source IN LISTS windows_test_sources)
  file(STRINGS "${source}" test_lines REGEX "^TEST(_F|_P)?\\(")
  foreach(line IN LISTS test_lines)
    if(NOT line MATCHES "^TEST(_F|_P)?\\(([A-Za-z0-9_]+), *([A-Za-z0-9_]+)\\)")
      message(FATAL_ERROR "${source}: cannot read the test name of: ${line}")
    endif()
    list(APPEND windows_suites "${CMAKE_MATCH_2}")
  endforeach()
endforeach()
list(REMOVE_DUPLICATES windows_suites)
list(SORT windows_suites)

foreach(suite IN LISTS windows_suites)
  # The suite's tests, and those of its instantiations (<Prefix>/<Suite>.<Test>/<n>).
  add_test(NAME wine.${suite}
           COMMAND "${wine_run}" "${GLIMSTER_WINDOWS_TEST_PROGRAM}" "--plugin=${aex_for_wine}"
                   "--gtest_filter=${suite}.*:*/${suite}.*")
  # They share one desktop folder and look at what lands there: one at a time.
  set_tests_properties(wine.${suite} PROPERTIES
    FIXTURES_REQUIRED wine_prefix RESOURCE_LOCK wine_desktop TIMEOUT 600 LABELS windows)
endforeach()

# The command-line substitute host for Windows captures its demo composition.
add_test(NAME wine.HostDemo
         COMMAND "${wine_run}" "${GLIMSTER_WINDOWS_HOST_PROGRAM}" "${aex_for_wine}" --demo)
set_tests_properties(wine.HostDemo PROPERTIES
  FIXTURES_REQUIRED wine_prefix RESOURCE_LOCK wine_desktop TIMEOUT 120
  PASS_REGULAR_EXPRESSION "C:\\\\users\\\\[^\\\\]+\\\\Desktop\\\\Glimster D[^\\\\]* [0-9]+-[0-9]+-[0-9]+ [0-9]+\\.[0-9]+\\.[0-9]+ [AP]M\\.png")

# ... and into a folder given with --desktop, which the plug-in's desktop
# lookup then answers instead of the shell's desktop.
# The folder is made afresh for every run.
set(host_desktop "${GLIMSTER_WINE_DIR}/host-desktop")
glimster_windows_path(host_desktop_for_wine "${host_desktop}")
add_test(NAME wine.HostDesktopOption.Clear COMMAND ${CMAKE_COMMAND} -E rm -rf "${host_desktop}")
add_test(NAME wine.HostDesktopOption.Make COMMAND ${CMAKE_COMMAND} -E make_directory "${host_desktop}")
set_tests_properties(wine.HostDesktopOption.Clear wine.HostDesktopOption.Make PROPERTIES
  FIXTURES_SETUP wine_host_desktop)
set_tests_properties(wine.HostDesktopOption.Make PROPERTIES DEPENDS wine.HostDesktopOption.Clear)
add_test(NAME wine.HostDesktopOption
         COMMAND "${wine_run}" "${GLIMSTER_WINDOWS_HOST_PROGRAM}" "${aex_for_wine}" --size 8x8
                 --comp-name Redirected --desktop "${host_desktop_for_wine}")
set_tests_properties(wine.HostDesktopOption PROPERTIES
  FIXTURES_REQUIRED "wine_prefix;wine_host_desktop" TIMEOUT 120
  PASS_REGULAR_EXPRESSION "wrote: [A-Z]:\\\\.*\\\\host-desktop\\\\Redirected [0-9]+-[0-9]+-[0-9]+ [0-9]+\\.[0-9]+\\.[0-9]+ [AP]M\\.png")

# Three captures in one process, within about a second: each replaces the file
# the one before wrote at the same name, and each is seen as written.
add_test(NAME wine.HostRepeat
         COMMAND "${wine_run}" "${GLIMSTER_WINDOWS_HOST_PROGRAM}" "${aex_for_wine}" --size 8x8
                 --comp-name Repeated --repeat 3 --desktop "${host_desktop_for_wine}")
set_tests_properties(wine.HostRepeat PROPERTIES
  FIXTURES_REQUIRED "wine_prefix;wine_host_desktop" TIMEOUT 120
  PASS_REGULAR_EXPRESSION "wrote: [^\n]+\ntook: [^\n]+\ncapture: [^\n]+\nwrote: [^\n]+\ntook: [^\n]+\ncapture: [^\n]+\nwrote: [^\n]+\ntook: [^\n]+\npeak resident memory: [1-9][0-9]* KiB"
  FAIL_REGULAR_EXPRESSION "capture failed|also changed")

string(REPLACE ";" "," windows_suite_list "${windows_suites}")
add_test(NAME wine.TestList
         COMMAND "${Python3_EXECUTABLE}" "${windows_test_dir}/check_test_list.py"
                 --runner "${wine_run}" --program "${GLIMSTER_WINDOWS_TEST_PROGRAM}"
                 --expected "${windows_suite_list}")
set_tests_properties(wine.TestList PROPERTIES FIXTURES_REQUIRED wine_prefix TIMEOUT 120)

# ---- The .aex, read by tools that did not build it --------------------------

add_test(NAME aex.Exports
         COMMAND "${Python3_EXECUTABLE}" "${windows_test_dir}/check_aex.py" exports
                 --objdump "${GLIMSTER_MINGW_OBJDUMP}" --aex "${GLIMSTER_AEX}")
add_test(NAME aex.Imports
         COMMAND "${Python3_EXECUTABLE}" "${windows_test_dir}/check_aex.py" imports
                 --objdump "${GLIMSTER_MINGW_OBJDUMP}" --aex "${GLIMSTER_AEX}")
add_test(NAME aex.Descriptor
         COMMAND "${Python3_EXECUTABLE}" "${windows_test_dir}/check_aex.py" descriptor
                 --wrestool "${GLIMSTER_WRESTOOL}" --aex "${GLIMSTER_AEX}"
                 --descriptor "${GLIMSTER_WINDOWS_PIPL}")
add_test(NAME aex.Version
         COMMAND "${Python3_EXECUTABLE}" "${windows_test_dir}/check_aex.py" version
                 --wrestool "${GLIMSTER_WRESTOOL}" --aex "${GLIMSTER_AEX}" --version "${PROJECT_VERSION}")

# The archive, made twice in a temporary folder of its own, as two builds of
# one commit years apart would, and read back with Python's zipfile and
# hashlib: the same bytes both times, its dates, listing, checksums and
# contents.
add_test(NAME package.WindowsZip
         COMMAND "${Python3_EXECUTABLE}" "${PROJECT_SOURCE_DIR}/tests/package/check_windows_zip.py"
                 --cmake "${CMAKE_COMMAND}" --script "${PROJECT_SOURCE_DIR}/cmake/PackageZip.cmake"
                 --name "${GLIMSTER_WINDOWS_ZIP_NAME}" --version "${PROJECT_VERSION}" --aex "${GLIMSTER_AEX}"
                 --faketime "${GLIMSTER_FAKETIME}" -- ${windows_zip_arguments})

# The installer, made twice in a temporary folder of its own, as two builds
# of one commit years apart would, and read back with msiinfo: the same bytes
# both times, its dates, the UpgradeCode every release keeps, the product,
# the upgrade rules, the refusals, the folders and files.
find_program(GLIMSTER_MSIINFO NAMES msiinfo)
if(NOT GLIMSTER_MSIINFO)
  message(FATAL_ERROR "The installer's test needs msiinfo (Debian: msitools)")
endif()
add_test(NAME package.Msi
         COMMAND "${Python3_EXECUTABLE}" "${PROJECT_SOURCE_DIR}/tests/package/check_msi.py"
                 --cmake "${CMAKE_COMMAND}" --script "${PROJECT_SOURCE_DIR}/cmake/PackageMsi.cmake"
                 --msiinfo "${GLIMSTER_MSIINFO}" --version "${PROJECT_VERSION}" --aex "${GLIMSTER_AEX}"
                 --faketime "${GLIMSTER_FAKETIME}" -- ${windows_msi_arguments})
# Its tables against Windows Installer's validation rules, and the same rules
# against copies with one fault planted each.
add_test(NAME package.MsiTables
         COMMAND "${Python3_EXECUTABLE}" "${PROJECT_SOURCE_DIR}/tests/package/check_msi_tables.py"
                 --cmake "${CMAKE_COMMAND}" --script "${PROJECT_SOURCE_DIR}/cmake/PackageMsi.cmake"
                 --msiinfo "${GLIMSTER_MSIINFO}" --msibuild "${GLIMSTER_MSIBUILD}" --version "${PROJECT_VERSION}"
                 --aex "${GLIMSTER_AEX}" -- ${windows_msi_arguments})

# The installer under Wine's msiexec, in a Wine prefix of the test's own:
# install, upgrade from an older version the test makes, the same version
# again, a refused downgrade, removal; into INSTALLDIR and removal.
set(msi_install_arguments)
foreach(argument "-DINSTALL_TEXT=${windows_install_text}" ${windows_notice_arguments})
  list(APPEND msi_install_arguments "--zip-arg=${argument}")
endforeach()
foreach(argument IN LISTS windows_msi_arguments)
  list(APPEND msi_install_arguments "--msi-arg=${argument}")
endforeach()
add_test(NAME package.MsiUnderWine
         COMMAND "${Python3_EXECUTABLE}" "${windows_test_dir}/check_msi_install.py"
                 --wine-run "${wine_run}" --cmake "${CMAKE_COMMAND}"
                 --zip-script "${PROJECT_SOURCE_DIR}/cmake/PackageZip.cmake"
                 --msi-script "${PROJECT_SOURCE_DIR}/cmake/PackageMsi.cmake"
                 --check-aex "${windows_test_dir}/check_aex.py" --wrestool "${GLIMSTER_WRESTOOL}"
                 --aex "${GLIMSTER_AEX}" --version "${PROJECT_VERSION}" ${msi_install_arguments})
set_tests_properties(package.MsiUnderWine PROPERTIES TIMEOUT 900)
