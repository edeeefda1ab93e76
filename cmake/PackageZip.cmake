# Run as a script (cmake -P) by the glimster_windows_zip target: makes the
# Windows archive from the files given.
#
#   -DAEX=<Glimster.aex> -DINSTALL_TEXT=<INSTALL.txt> -DLODEPNG_SOURCE=<lodepng.cpp>
#   -DWINPTHREADS_NOTICE=<LICENSE-winpthreads.txt>
#   -DSTAGING=<empty folder to fill> -DZIP=<archive to write>
#
# The archive holds Glimster.aex, INSTALL.txt, LICENSE-LodePNG.txt (the
# licence notice at the head of LodePNG's source, as installed),
# LICENSE-winpthreads.txt (the mingw-w64 threads library linked into the .aex) and
# SHA256SUMS (the SHA-256 of each of those, in sha256sum's format), every text
# file with CR LF line ends.
foreach(variable AEX INSTALL_TEXT LODEPNG_SOURCE WINPTHREADS_NOTICE STAGING ZIP)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "PackageZip.cmake needs -D${variable}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${STAGING}")
file(MAKE_DIRECTORY "${STAGING}")
file(COPY_FILE "${AEX}" "${STAGING}/Glimster.aex")
file(COPY_FILE "${INSTALL_TEXT}" "${STAGING}/INSTALL.txt")
file(COPY_FILE "${WINPTHREADS_NOTICE}" "${STAGING}/LICENSE-winpthreads.txt")

include("${CMAKE_CURRENT_LIST_DIR}/LodePNGNotice.cmake")
glimster_write_lodepng_notice("${LODEPNG_SOURCE}" "${STAGING}/LICENSE-LodePNG.txt")

# Every text file with Windows line ends, as Notepad and PowerShell expect.
foreach(name LICENSE-LodePNG.txt LICENSE-winpthreads.txt)
  file(READ "${STAGING}/${name}" text)
  string(REGEX REPLACE "\r?\n" "\r\n" text "${text}")
  file(WRITE "${STAGING}/${name}" "${text}")
endforeach()

set(files Glimster.aex INSTALL.txt LICENSE-LodePNG.txt LICENSE-winpthreads.txt)
set(sums "")
foreach(name IN LISTS files)
  file(SHA256 "${STAGING}/${name}" sum)
  string(APPEND sums "${sum}  ${name}\r\n")
endforeach()
file(WRITE "${STAGING}/SHA256SUMS" "${sums}")

file(REMOVE "${ZIP}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${ZIP}" --format=zip ${files} SHA256SUMS
                WORKING_DIRECTORY "${STAGING}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "Could not write ${ZIP}")
endif()
