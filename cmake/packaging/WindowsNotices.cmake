# glimster_write_windows_notices(<folder> <names_var>): writes into <folder>
# the licence notice of everything linked into Glimster.aex, each with
# Windows line ends, and sets <names_var> to their file names. The zip and
# the MSI both take these (cmake/packaging/PackageZip.cmake and
# cmake/packaging/PackageMsi.cmake):
#
#   LICENSE-LodePNG.txt    LodePNG, the PNG writer (its source's first comment)
#   LICENSE-mingw-w64.txt  the mingw-w64 runtime: the DLL's start-up code,
#                          printf (cmake/packaging/write_runtime_notices.py)
#   LICENSE-GCC.txt        GCC's runtime: libstdc++, libgcc (the same)
#
# Reads the packaging script's -D arguments LODEPNG_SOURCE (lodepng.cpp),
# MINGW_COPYRIGHT and GCC_COPYRIGHT (Debian's copyright files of mingw-w64
# and of GCC for mingw-w64), GPL3 (the GPL's text) and PYTHON.
include("${CMAKE_CURRENT_LIST_DIR}/LodePNGNotice.cmake")

function(glimster_write_windows_notices folder names_var)
  foreach(variable LODEPNG_SOURCE MINGW_COPYRIGHT GCC_COPYRIGHT GPL3 PYTHON)
    if(NOT DEFINED ${variable})
      message(FATAL_ERROR "The Windows notices need -D${variable}=...")
    endif()
  endforeach()
  glimster_write_lodepng_notice("${LODEPNG_SOURCE}" "${folder}/LICENSE-LodePNG.txt")
  file(READ "${folder}/LICENSE-LodePNG.txt" text)
  string(REGEX REPLACE "\r?\n" "\r\n" text "${text}")
  file(WRITE "${folder}/LICENSE-LodePNG.txt" "${text}")
  execute_process(
    COMMAND "${PYTHON}" "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/write_runtime_notices.py" "${folder}"
            --mingw-copyright "${MINGW_COPYRIGHT}" --gcc-copyright "${GCC_COPYRIGHT}" --gpl3 "${GPL3}"
    RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "Could not write the runtimes' licence notices")
  endif()
  set(${names_var} LICENSE-LodePNG.txt LICENSE-mingw-w64.txt LICENSE-GCC.txt PARENT_SCOPE)
endfunction()
