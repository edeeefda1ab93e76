# glimster_write_lodepng_notice(<lodepng.cpp> <file>): writes LodePNG's
# licence notice, its source's first comment without the comment marks, to
# <file>. Used by the packaging scripts (cmake -P).
function(glimster_write_lodepng_notice source_file notice_file)
  file(READ "${source_file}" source)
  string(FIND "${source}" "*/" notice_end)
  if(NOT source MATCHES "^/\\*" OR notice_end LESS 0)
    message(FATAL_ERROR "${source_file} does not start with its licence comment")
  endif()
  math(EXPR notice_length "${notice_end} - 2")
  string(SUBSTRING "${source}" 2 ${notice_length} notice)
  string(STRIP "${notice}" notice)
  if(NOT notice MATCHES "^LodePNG version .*This notice may not be removed or altered")
    message(FATAL_ERROR "The first comment of ${source_file} is not LodePNG's licence notice")
  endif()
  file(WRITE "${notice_file}" "${notice}\n")
endfunction()
