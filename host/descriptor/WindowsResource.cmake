# The Windows library carries the descriptor as a resource compiled from a
# resource script that pulls in the generated descriptor file.

# glimster_configure_resource_script(<script>): writes the resource script
# naming GLIMSTER_WINDOWS_PIPL as the data of the descriptor resource.
function(glimster_configure_resource_script script)
  glimster_read_descriptor_fact(GLIMSTER_RESOURCE_ID kResourceId)
  glimster_read_descriptor_fact(GLIMSTER_RESOURCE_TYPE kWindowsResourceType)
  glimster_read_descriptor_fact(language_id kWindowsResourceLanguage)
  # A Windows language identifier: sublanguage in the top 6 bits, primary language in the low 10.
  math(EXPR GLIMSTER_RESOURCE_PRIMARY_LANGUAGE "${language_id} & 0x3FF")
  math(EXPR GLIMSTER_RESOURCE_SUBLANGUAGE "${language_id} >> 10")
  set(GLIMSTER_RESOURCE_DATA_FILE "${GLIMSTER_WINDOWS_PIPL}")
  configure_file("${GLIMSTER_DESCRIPTOR_SOURCE_DIR}/Glimster.rc.in" "${script}" @ONLY)
endfunction()

# glimster_add_descriptor_resource(<target>): compiles the descriptor resource
# into <target>, recompiling it whenever the descriptor file changes.
function(glimster_add_descriptor_resource target)
  if(NOT CMAKE_RC_COMPILER)
    message(FATAL_ERROR "No resource compiler: the descriptor resource of ${target} cannot be built")
  endif()
  set(script "${GLIMSTER_DESCRIPTOR_DIR}/Glimster.rc")
  glimster_configure_resource_script("${script}")
  target_sources(${target} PRIVATE "${script}")
  set_source_files_properties("${script}" PROPERTIES OBJECT_DEPENDS "${GLIMSTER_WINDOWS_PIPL}")
endfunction()
