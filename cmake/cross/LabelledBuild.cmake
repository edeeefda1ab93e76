# The build command of an external project (a cross build of this tree) whose
# output lines carry the build's name, "[LABEL] ...", by
# cmake/cross/label-lines.sh:
#
#   glimster_labelled_build_command(command "macOS arm64")
#   ExternalProject_Add(... BUILD_COMMAND ${command} ...)
#
# Under make the nested build is "$(MAKE)", so that it shares the outer make's
# jobs (-j) as ExternalProject's default build command does.
function(glimster_labelled_build_command out_var label)
  if(CMAKE_GENERATOR MATCHES "Makefiles")
    set(build "$(MAKE)")
  else()
    set(build "${CMAKE_COMMAND}" --build .)
  endif()
  set(${out_var} "${PROJECT_SOURCE_DIR}/cmake/cross/label-lines.sh" "${label}" ${build} PARENT_SCOPE)
endfunction()
