# Run as a script (cmake -P) by the glimster_macos_zip target: makes the
# archive a Mac user downloads from the universal bundle of the cross build.
#
#   -DBUNDLE=<Glimster.plugin> -DINSTALL_TEXT=<INSTALL.txt> -DLODEPNG_SOURCE=<lodepng.cpp>
#   -DLIBCXX_NOTICE=<libc++ LICENSE.TXT> -DLIBCXXABI_NOTICE=<libc++abi LICENSE.TXT>
#   -DPYTHON=<python3> -DSTAGING=<empty folder to fill> -DZIP=<archive to write>
#
# The archive holds Glimster.plugin (its folders, and its code executable),
# INSTALL.txt, the licence notices of what is linked into the code (LodePNG,
# LLVM's libc++ and libc++abi) and SHA256SUMS (the SHA-256 of every other
# file, in sha256sum's format, which `shasum -a 256 -c` reads). It is written by
# cmake/packaging/write_zip.py with fixed modes in a fixed order, every entry
# dated by cmake/packaging/SourceDate.cmake, so the same files of one commit
# give the same bytes.
foreach(variable BUNDLE INSTALL_TEXT LODEPNG_SOURCE LIBCXX_NOTICE LIBCXXABI_NOTICE PYTHON STAGING ZIP)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "PackageMacZip.cmake needs -D${variable}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${STAGING}")
file(MAKE_DIRECTORY "${STAGING}")
file(COPY "${BUNDLE}" DESTINATION "${STAGING}")
file(COPY_FILE "${INSTALL_TEXT}" "${STAGING}/INSTALL.txt")
file(COPY_FILE "${LIBCXX_NOTICE}" "${STAGING}/LICENSE-libc++.txt")
file(COPY_FILE "${LIBCXXABI_NOTICE}" "${STAGING}/LICENSE-libc++abi.txt")
include("${CMAKE_CURRENT_LIST_DIR}/LodePNGNotice.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/SourceDate.cmake")
glimster_write_lodepng_notice("${LODEPNG_SOURCE}" "${STAGING}/LICENSE-LodePNG.txt")
glimster_source_date(date)

set(files
  Glimster.plugin/Contents/Info.plist
  Glimster.plugin/Contents/MacOS/Glimster
  Glimster.plugin/Contents/PkgInfo
  Glimster.plugin/Contents/Resources/Glimster.rsrc
  INSTALL.txt LICENSE-LodePNG.txt LICENSE-libc++.txt LICENSE-libc++abi.txt)
file(GLOB_RECURSE staged RELATIVE "${STAGING}" "${STAGING}/*")
list(SORT staged)
set(expected ${files})
list(SORT expected)
if(NOT staged STREQUAL expected)
  message(FATAL_ERROR "Staged files ${staged}; expected ${expected}")
endif()
set(sums "")
foreach(name IN LISTS files)
  file(SHA256 "${STAGING}/${name}" sum)
  string(APPEND sums "${sum}  ${name}\n")
endforeach()
file(WRITE "${STAGING}/SHA256SUMS" "${sums}")

execute_process(
  COMMAND "${PYTHON}" "${CMAKE_CURRENT_LIST_DIR}/write_zip.py" "${ZIP}" "${STAGING}"
          --date ${date} --executable Glimster.plugin/Contents/MacOS/Glimster ${files} SHA256SUMS
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "Could not write ${ZIP}")
endif()
