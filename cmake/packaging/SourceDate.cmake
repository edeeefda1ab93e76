# glimster_source_date(<out_var>): sets <out_var> to the time every file of
# the downloads carries, in seconds since 1970-01-01 00:00 UTC: the
# environment's SOURCE_DATE_EPOCH when it is set (the reproducible-builds
# convention), otherwise the time of the last commit of this source tree
# (git log -1 --format=%ct). The same commit thus gives the same dates, and
# the same bytes, whenever it is built. Used by the packaging scripts
# (cmake -P).
function(glimster_source_date out_var)
  if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(date "$ENV{SOURCE_DATE_EPOCH}")
    set(origin "SOURCE_DATE_EPOCH")
  else()
    get_filename_component(source_dir "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../.." ABSOLUTE)
    execute_process(COMMAND git -C "${source_dir}" log -1 --format=%ct
                    RESULT_VARIABLE failed OUTPUT_VARIABLE date ERROR_VARIABLE error
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(failed)
      message(FATAL_ERROR "The downloads are dated by the last commit, but git cannot tell it "
                          "in ${source_dir} (${error}); set SOURCE_DATE_EPOCH to the time to use")
    endif()
    set(origin "the last commit's time")
  endif()
  if(NOT date MATCHES "^[0-9]+$")
    message(FATAL_ERROR "${origin} is \"${date}\", not a count of seconds since 1970")
  endif()
  set(${out_var} "${date}" PARENT_SCOPE)
endfunction()
