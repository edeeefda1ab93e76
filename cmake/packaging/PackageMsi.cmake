# Run as a script (cmake -P) by the glimster_windows_msi target, and by the
# installer's tests for a build of another version: makes the Windows
# installer from packaging/windows/Glimster.wxs.in with wixl (msitools).
#
#   -DAEX=<Glimster.aex> -DREADME=<README.txt> -DVERSION=<x.y.z> -DWXS=<Glimster.wxs.in>
#   -DWIXL=<wixl> -DMSIBUILD=<msibuild> -DFAKETIME=<faketime> -DPYTHON=<python3>
#   -DLODEPNG_SOURCE=... -DMINGW_COPYRIGHT=... -DGCC_COPYRIGHT=... -DGPL3=...
#     (the sources of the licence notices: cmake/packaging/WindowsNotices.cmake)
#   -DSTAGING=<empty folder to fill> -DMSI=<installer to write>
#
# The same files and version of one commit give the same bytes. Each version
# has a ProductCode of its own, derived from the version (a major upgrade
# needs a new one); the PackageCode, which names one package, is derived from
# everything that goes into it and set with msibuild (wixl draws a random
# one). Everything is dated by cmake/packaging/SourceDate.cmake: wixl dates
# the summary information by the clock and the cabinet's files by theirs, so
# it runs under faketime with the clock stopped at that time (whatever clock
# the caller has), and the staged files are dated so too. The cabinet keeps a
# file's time as MS-DOS does, without a zone: here the UTC time, which
# Windows Installer takes for the installing machine's local time.
foreach(variable AEX README VERSION WXS WIXL MSIBUILD FAKETIME PYTHON STAGING MSI)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "PackageMsi.cmake needs -D${variable}=...")
  endif()
endforeach()
if(NOT VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$")
  message(FATAL_ERROR "VERSION ${VERSION} is not major.minor.patch")
endif()
get_filename_component(MSI "${MSI}" ABSOLUTE)  # wixl runs in the staging folder
include("${CMAKE_CURRENT_LIST_DIR}/SourceDate.cmake")
glimster_source_date(date)
# faketime's form of that time, read in UTC (wixl runs with TZ=UTC).
execute_process(COMMAND date -u -d "@${date}" "+%Y-%m-%d %H:%M:%S" OUTPUT_VARIABLE fixed_time
                OUTPUT_STRIP_TRAILING_WHITESPACE)
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

# The folders of the default plug-in folder's path below Program Files, each
# Directory id and name, outermost first (Glimster.wxs.in nests them so).
# Each is made and taken away again by a component of its own, Make_<id>
# (its GUID derived from its name, so it never changes), installed when the
# default install finds the folder missing (EXISTING_<ID>, a folder search), or
# when the Glimster installed before made it (MADE_<ID>, the registry value
# that component keeps, its key path). wixl writes neither folder searches
# nor component conditions: the SQL below adds them to the tables it wrote.
set(made_folders AdobeFolder:Adobe AdobeCommonFolder:Common CommonPlugInsFolder:Plug-ins
                 CommonPlugInsVersionFolder:7.0 INSTALLDIR:MediaCore)
set(made_folder_searches)
set(made_folder_components)
set(made_folder_refs)
set(sql
  "CREATE TABLE `DrLocator` (`Signature_` CHAR(72) NOT NULL, `Parent` CHAR(72), `Path` CHAR(255), `Depth` SHORT PRIMARY KEY `Signature_`, `Parent`, `Path`)"
  "INSERT INTO `DrLocator` (`Signature_`, `Path`, `Depth`) VALUES ('GivenFolder', '[INSTALLDIR]', 0)"
  "INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('GIVENFOLDER', 'GivenFolder')")
set(secure INSTALLDIR INSTALLEDDIR GIVENFOLDER DEFAULTINSTALL WIX_DOWNGRADE_DETECTED WIX_UPGRADE_DETECTED)
set(path "[ProgramFiles64Folder]")
foreach(folder IN LISTS made_folders)
  string(REPLACE ":" ";" folder "${folder}")
  list(GET folder 0 id)
  list(GET folder 1 name)
  string(TOUPPER "${id}" upper_id)
  string(APPEND path "${name}")
  string(UUID guid NAMESPACE ${code_namespace} NAME "Component Make_${id}" TYPE SHA1 UPPER)
  list(APPEND made_folder_searches
    "    <Property Id=\"MADE_${upper_id}\">"
    "      <RegistrySearch Id=\"Made_${id}\" Root=\"HKLM\" Key=\"Software\\Glimster\\MadeFolders\" Name=\"${id}\" Type=\"raw\" Win64=\"yes\"/>"
    "    </Property>")
  list(APPEND made_folder_components
    "    <DirectoryRef Id=\"${id}\">"
    "      <Component Id=\"Make_${id}\" Guid=\"{${guid}}\" Win64=\"yes\">"
    "        <CreateFolder/>"
    "        <RemoveFolder Id=\"Remove_${id}\" On=\"uninstall\"/>"
    "        <RegistryValue Root=\"HKLM\" Key=\"Software\\Glimster\\MadeFolders\" Name=\"${id}\" Type=\"string\" Value=\"[${id}]\" KeyPath=\"yes\"/>"
    "      </Component>"
    "    </DirectoryRef>")
  list(APPEND made_folder_refs "      <ComponentRef Id=\"Make_${id}\"/>")
  list(APPEND sql
    "INSERT INTO `DrLocator` (`Signature_`, `Path`, `Depth`) VALUES ('Existing_${id}', '${path}', 0)"
    "INSERT INTO `AppSearch` (`Property`, `Signature_`) VALUES ('EXISTING_${upper_id}', 'Existing_${id}')"
    "UPDATE `Component` SET `Condition` = 'MADE_${upper_id} OR (DEFAULTINSTALL AND NOT EXISTING_${upper_id})' WHERE `Component` = 'Make_${id}'")
  list(APPEND secure EXISTING_${upper_id} MADE_${upper_id})
  string(APPEND path "\\")
endforeach()
# Public properties reach the execute sequence of a per-machine install
# only when they are listed as secure (a query of its own: the list's ";"
# would split a list element).
list(SORT secure)
string(JOIN ";" secure ${secure})
set(secure_query "UPDATE `Property` SET `Value` = '${secure}' WHERE `Property` = 'SecureCustomProperties'")
string(JOIN "\n" MADE_FOLDER_SEARCHES ${made_folder_searches})
string(JOIN "\n" MADE_FOLDER_COMPONENTS ${made_folder_components})
string(JOIN "\n" MADE_FOLDER_REFS ${made_folder_refs})

string(UUID PRODUCT_CODE NAMESPACE ${code_namespace} NAME "ProductCode ${VERSION}" TYPE SHA1 UPPER)
configure_file("${WXS}" "${STAGING}/Glimster.wxs" @ONLY)

set(content "${date}\n")
foreach(name Glimster.wxs Glimster.aex README.txt ${notices})
  file(SHA256 "${STAGING}/${name}" sum)
  string(APPEND content "${sum}  ${name}\n")
endforeach()
string(JOIN "\n" sql_text ${sql})
string(APPEND content "${sql_text}\n${secure_query}\n")
string(UUID package_code NAMESPACE ${code_namespace} NAME "PackageCode ${content}" TYPE SHA1 UPPER)

execute_process(COMMAND touch -d "@${date}" Glimster.aex README.txt ${notices}
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
  # The tables wixl cannot write; title and the rest of the summary as wixl
  # wrote them; the PackageCode (revision number) derived.
  set(queries)
  foreach(query IN LISTS sql)
    list(APPEND queries -q "${query}")
  endforeach()
  execute_process(COMMAND "${MSIBUILD}" "${MSI}" ${queries} -q "${secure_query}" -s Glimster "Glimster project" "x64;1033"
                          "{${package_code}}"
                  RESULT_VARIABLE failed OUTPUT_VARIABLE more ERROR_VARIABLE more)
  string(APPEND output "${more}")
endif()
if(failed)
  file(REMOVE "${MSI}")
  message(FATAL_ERROR "Could not write ${MSI}:\n${output}")
endif()
