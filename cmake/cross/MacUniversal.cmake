# Run as a script (cmake -P) by the glimster_macos target: makes the universal
# Glimster.plugin from the two single-architecture bundles of the cross build.
#
#   -DSLICE_x86_64=<x86_64 Glimster.plugin> -DSLICE_arm64=<arm64 Glimster.plugin>
#   -DLIPO=<llvm-lipo> -DBUNDLE=<Glimster.plugin to write>
#
# Both bundles must agree on everything but the code (each was built with
# the universal descriptor); the result is the x86_64 bundle with the two
# slices merged into Contents/MacOS/Glimster.
foreach(variable SLICE_x86_64 SLICE_arm64 LIPO BUNDLE)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "MacUniversal.cmake needs -D${variable}=...")
  endif()
endforeach()

foreach(file Info.plist PkgInfo Resources/Glimster.rsrc)
  file(SHA256 "${SLICE_x86_64}/Contents/${file}" x86_64_sum)
  file(SHA256 "${SLICE_arm64}/Contents/${file}" arm64_sum)
  if(NOT x86_64_sum STREQUAL arm64_sum)
    message(FATAL_ERROR "The x86_64 and arm64 bundles differ in Contents/${file}")
  endif()
endforeach()

get_filename_component(parent "${BUNDLE}" DIRECTORY)
file(REMOVE_RECURSE "${BUNDLE}")
file(COPY "${SLICE_x86_64}" DESTINATION "${parent}")
file(REMOVE "${BUNDLE}/Contents/MacOS/Glimster")
execute_process(
  COMMAND "${LIPO}" -create "${SLICE_x86_64}/Contents/MacOS/Glimster" "${SLICE_arm64}/Contents/MacOS/Glimster"
          -output "${BUNDLE}/Contents/MacOS/Glimster"
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "lipo could not merge the slices")
endif()
