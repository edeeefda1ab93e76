# Lets the build read the descriptor's facts from DescriptorFacts.h, so that
# the Windows resource script and the macOS bundle metadata name the same kind,
# name, version and resource as the descriptor itself.

set(GLIMSTER_DESCRIPTOR_FACTS_HEADER "${CMAKE_CURRENT_LIST_DIR}/DescriptorFacts.h"
    CACHE INTERNAL "The header holding the plug-in descriptor's facts")
# The files configured from these facts are written again when the header changes.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${GLIMSTER_DESCRIPTOR_FACTS_HEADER}")

# glimster_read_descriptor_fact(<out_var> <constant>): the value of
# `inline constexpr <type> <constant> = <value>;`, a string without its quotes.
function(glimster_read_descriptor_fact out_var constant)
  file(STRINGS "${GLIMSTER_DESCRIPTOR_FACTS_HEADER}" definition
       REGEX "^inline constexpr [^=]+ ${constant}(\\[\\])? = [^;]+;")
  # file(STRINGS) hands the line back with its ';' escaped as '\;'.
  if(NOT definition MATCHES " = \"?([^\"\\;]+)")
    message(FATAL_ERROR "No one-line definition of ${constant} in ${GLIMSTER_DESCRIPTOR_FACTS_HEADER}")
  endif()
  set(${out_var} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()
