# Run as a script (cmake -P) by the glimster_windows_zip target: makes the
# Windows archive from the files given.
#
#   -DAEX=<Glimster.aex> -DINSTALL_TEXT=<INSTALL.txt> -DPYTHON=<python3>
#   -DLODEPNG_SOURCE=... -DMINGW_COPYRIGHT=... -DGCC_COPYRIGHT=... -DGPL3=...
#     (the sources of the licence notices: cmake/packaging/WindowsNotices.cmake)
#   -DSTAGING=<empty folder to fill> -DZIP=<archive to write>
#
# The archive holds Glimster.aex, INSTALL.txt, the licence notice of
# everything linked into the .aex and SHA256SUMS (the SHA-256 of each of
# those, in sha256sum's format), every text file with CR LF line ends. It is
# written by cmake/packaging/write_zip.py, as the macOS archive is, every
# entry dated by cmake/packaging/SourceDate.cmake: the same files of one
# commit give the same bytes.
foreach(variable AEX INSTALL_TEXT PYTHON STAGING ZIP)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "PackageZip.cmake needs -D${variable}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${STAGING}")
file(MAKE_DIRECTORY "${STAGING}")
file(COPY_FILE "${AEX}" "${STAGING}/Glimster.aex")
file(COPY_FILE "${INSTALL_TEXT}" "${STAGING}/INSTALL.txt")
include("${CMAKE_CURRENT_LIST_DIR}/WindowsNotices.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/SourceDate.cmake")
glimster_write_windows_notices("${STAGING}" notices)
glimster_source_date(date)

set(files Glimster.aex INSTALL.txt ${notices})
set(sums "")
foreach(name IN LISTS files)
  file(SHA256 "${STAGING}/${name}" sum)
  string(APPEND sums "${sum}  ${name}\r\n")
endforeach()
file(WRITE "${STAGING}/SHA256SUMS" "${sums}")

execute_process(COMMAND "${PYTHON}" "${CMAKE_CURRENT_LIST_DIR}/write_zip.py" "${ZIP}" "${STAGING}"
                        --date ${date} ${files} SHA256SUMS
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "Could not write ${ZIP}")
endif()
