# The macOS deliverable is a loadable bundle, Glimster.plugin: the Mach-O code
# in Contents/MacOS, Info.plist and PkgInfo in Contents, and the descriptor
# resource file in Contents/Resources.

# Where Info.plist and PkgInfo are written before they go into the bundle.
set(GLIMSTER_BUNDLE_METADATA_DIR "${CMAKE_BINARY_DIR}/plugin/macos" CACHE INTERNAL "Bundle metadata")

# glimster_configure_bundle_metadata(<dir>): writes <dir>/Info.plist and
# <dir>/PkgInfo (the package type and the signature, 8 bytes, no newline).
function(glimster_configure_bundle_metadata dir)
  # What the bundle says beyond the descriptor: the host's creator code, its
  # own identifier and the oldest macOS it runs on.
  set(GLIMSTER_BUNDLE_SIGNATURE "FXTC")
  set(GLIMSTER_BUNDLE_IDENTIFIER "com.glimster.Glimster")
  set(GLIMSTER_BUNDLE_MINIMUM_SYSTEM_VERSION "12.1")

  glimster_read_descriptor_fact(GLIMSTER_BUNDLE_PACKAGE_TYPE kPluginKind)
  glimster_read_descriptor_fact(GLIMSTER_BUNDLE_NAME kPluginName)
  # The project's version, as the descriptor and the Windows version resource have it.
  set(GLIMSTER_BUNDLE_VERSION "${PROJECT_VERSION}")
  set(GLIMSTER_BUNDLE_EXECUTABLE "${GLIMSTER_BUNDLE_NAME}")

  configure_file("${CMAKE_CURRENT_FUNCTION_LIST_DIR}/Info.plist.in" "${dir}/Info.plist" @ONLY)
  file(CONFIGURE OUTPUT "${dir}/PkgInfo" CONTENT "@GLIMSTER_BUNDLE_PACKAGE_TYPE@@GLIMSTER_BUNDLE_SIGNATURE@" @ONLY)
endfunction()

# glimster_make_bundle(<target>): turns the MODULE library <target>
# into Glimster.plugin, exporting only the entry function.
function(glimster_make_bundle target)
  get_target_property(type ${target} TYPE)
  if(NOT type STREQUAL "MODULE_LIBRARY")
    message(FATAL_ERROR "${target} must be a MODULE library to become a loadable bundle (it is ${type})")
  endif()

  set(metadata_dir "${GLIMSTER_BUNDLE_METADATA_DIR}")
  glimster_configure_bundle_metadata("${metadata_dir}")
  glimster_read_descriptor_fact(executable kPluginName)
  set(exports "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/exports.txt")

  # CMake configures MACOSX_BUNDLE_INFO_PLIST once more into Contents/Info.plist;
  # the file holds no placeholders left, so it is copied unchanged.
  set_target_properties(${target} PROPERTIES
    BUNDLE TRUE
    BUNDLE_EXTENSION plugin
    OUTPUT_NAME "${executable}"
    MACOSX_BUNDLE_INFO_PLIST "${metadata_dir}/Info.plist")
  target_link_libraries(${target} PRIVATE Foundation::Foundation)  # -framework Foundation
  target_link_options(${target} PRIVATE "LINKER:-exported_symbols_list,${exports}")

  # Relinking is what copies the files below into the bundle, so it follows them.
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
    "${exports}" "${metadata_dir}/PkgInfo" "${GLIMSTER_MAC_RSRC}")
  set(contents "$<TARGET_BUNDLE_CONTENT_DIR:${target}>")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${contents}/Resources"
    COMMAND "${CMAKE_COMMAND}" -E copy "${metadata_dir}/PkgInfo" "${contents}/PkgInfo"
    COMMAND "${CMAKE_COMMAND}" -E copy "${GLIMSTER_MAC_RSRC}" "${contents}/Resources/${executable}.rsrc"
    VERBATIM)
endfunction()
