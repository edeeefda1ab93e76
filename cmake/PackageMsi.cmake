# Run as a script (cmake -P) by the glimster_windows_msi target, and by the
# installer's tests for a build of another version: makes the Windows
# installer from packaging/windows/Glimster.wxs.in with wixl (msitools).
#
#   -DAEX=<Glimster.aex> -DREADME=<README.txt> -DVERSION=<x.y.z> -DWXS=<Glimster.wxs.in>
#   -DWIXL=<wixl> -DMSIBUILD=<msibuild> -DFAKETIME=<faketime> -DPYTHON=<python3>
#   -DLODEPNG_SOURCE=... -DMINGW_COPYRIGHT=... -DGCC_COPYRIGHT=... -DGPL3=...
#     (the sources of the licence notices: cmake/WindowsNotices.cmake)
#   -DSTAGING=<empty folder to fill> -DMSI=<installer to write>
#
# The same files and version give the same bytes. Each version has a
# ProductCode of its own, derived from the version (a major upgrade needs a
# new one); the PackageCode, which names one package, is derived from
# everything that goes into it and set with msibuild (wixl draws a random
# one). wixl dates the summary information by the clock and the cabinet's
# files by theirs: it runs under faketime with the clock stopped at
# 2000-01-01 00:00 UTC (whatever clock the caller has), and the staged files
# are dated so too.
foreach(variable AEX README VERSION WXS WIXL MSIBUILD FAKETIME PYTHON STAGING MSI)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "PackageMsi.cmake needs -D${variable}=...")
  endif()
endforeach()
if(NOT VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$")
  message(FATAL_ERROR "VERSION ${VERSION} is not major.minor.patch")
endif()
get_filename_component(MSI "${MSI}" ABSOLUTE)  # wixl runs in the staging folder
set(fixed_time "2000-01-01 00:00:00")
# Any fixed UUID serves as the namespace of the derived codes; this is the
# installer's UpgradeCode.
set(code_namespace F61316CC-E94E-4CAE-A2DD-437666311027)

file(REMOVE_RECURSE "${STAGING}")
file(MAKE_DIRECTORY "${STAGING}")
file(COPY_FILE "${AEX}" "${STAGING}/Glimster.aex")
file(COPY_FILE "${README}" "${STAGING}/README.txt")
include("${CMAKE_CURRENT_LIST_DIR}/WindowsNotices.cmake")
glimster_write_windows_notices("${STAGING}" notices)

# One File element a notice, in the Documents component.
set(notice_files)
foreach(name IN LISTS notices)
  string(MAKE_C_IDENTIFIER "${name}" id)
  list(APPEND notice_files
       "                      <File Id=\"${id}\" Name=\"${name}\" Source=\"${name}\"/>")
endforeach()
string(JOIN "\n" NOTICE_FILES ${notice_files})
string(UUID PRODUCT_CODE NAMESPACE ${code_namespace} NAME "ProductCode ${VERSION}" TYPE SHA1 UPPER)
configure_file("${WXS}" "${STAGING}/Glimster.wxs" @ONLY)

set(content "")
foreach(name Glimster.wxs Glimster.aex README.txt ${notices})
  file(SHA256 "${STAGING}/${name}" sum)
  string(APPEND content "${sum}  ${name}\n")
endforeach()
string(UUID package_code NAMESPACE ${code_namespace} NAME "PackageCode ${content}" TYPE SHA1 UPPER)

execute_process(COMMAND touch -d "${fixed_time}Z" Glimster.aex README.txt ${notices}
                WORKING_DIRECTORY "${STAGING}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "Could not date the staged files")
endif()
file(REMOVE "${MSI}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env --unset=LD_PRELOAD --unset=FAKETIME --unset=FAKETIME_SHARED TZ=UTC
          "${FAKETIME}" -f "${fixed_time}" "${WIXL}" -a x64 -o "${MSI}" Glimster.wxs
  WORKING_DIRECTORY "${STAGING}" RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT failed)
  # Title and the rest as wixl wrote them; the PackageCode (revision number) derived.
  execute_process(COMMAND "${MSIBUILD}" "${MSI}" -s Glimster "Glimster project" "x64;1033" "{${package_code}}"
                  RESULT_VARIABLE failed OUTPUT_VARIABLE more ERROR_VARIABLE more)
  string(APPEND output "${more}")
endif()
if(failed)
  file(REMOVE "${MSI}")
  message(FATAL_ERROR "Could not write ${MSI}:\n${output}")
endif()
