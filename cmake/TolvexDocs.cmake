# The reference (target tolvex_reference, run by tools/docs): doxygen over the installed public
# headers, as a game includes them (<tolvex/...>, the build's include folder). It fails on any
# warning, an undocumented public member included. Needs tolvex_public_headers from
# TolvexInstall.cmake.
find_program(TOLVEX_DOXYGEN doxygen)
if(NOT TOLVEX_DOXYGEN)
  return()
endif()
set(TOLVEX_REFERENCE_DIR ${PROJECT_BINARY_DIR}/reference)
set(TOLVEX_REFERENCE_INPUT "${PROJECT_SOURCE_DIR}/docs/reference/mainpage.dox")
foreach(header IN LISTS tolvex_public_headers)
  string(APPEND TOLVEX_REFERENCE_INPUT " \\\n    ${PROJECT_BINARY_DIR}/include/tolvex/${header}")
endforeach()
configure_file(docs/reference/Doxyfile.in ${PROJECT_BINARY_DIR}/Doxyfile @ONLY)
add_custom_target(tolvex_reference
  COMMAND ${CMAKE_COMMAND} -E remove_directory ${TOLVEX_REFERENCE_DIR}
  COMMAND ${TOLVEX_DOXYGEN} ${PROJECT_BINARY_DIR}/Doxyfile
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Reference: ${TOLVEX_REFERENCE_DIR}/html/index.html"
  VERBATIM)
