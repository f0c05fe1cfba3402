# The CD's programs are the same bytes wherever the same commit is built: no build
# folder in them (__FILE__ of the assertions) and no link time in the image header.
# Only the Windows builds, so that the native build's debugging data keeps the full
# paths.
if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(nol_prefix_maps ${PROJECT_SOURCE_DIR}/= ${CMAKE_BINARY_DIR}/=)
  # ccache with a base folder hands the compiler names relative to the build folder.
  file(RELATIVE_PATH nol_source_from_build ${CMAKE_BINARY_DIR} ${PROJECT_SOURCE_DIR})
  string(REGEX REPLACE "/$" "" nol_source_from_build "${nol_source_from_build}")
  if(nol_source_from_build)
    list(APPEND nol_prefix_maps ${nol_source_from_build}/=)
  endif()
  foreach(map IN LISTS nol_prefix_maps)
    add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${map}>)
  endforeach()
  add_link_options(-Wl,--no-insert-timestamp)
endif()
