# cmake --install: the engine's public headers under include/tolvex/ (engine/'s folders), the
# library, the package a game finds with find_package(Tolvex), the font with its licence, and
# the game with its data.
include(CMakePackageConfigHelpers)

# The public headers are those the umbrella header includes, and the two that public classes
# hold by value. tools/check-install checks that no installed header includes one left out.
file(STRINGS engine/tolvex.h tolvex_umbrella_lines REGEX "^#include \"tolvex/")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS engine/tolvex.h)
set(tolvex_public_headers tolvex.h path/BlockedCells.h world/SpatialGrid.h)
foreach(line IN LISTS tolvex_umbrella_lines)
  string(REGEX REPLACE "^#include \"tolvex/([^\"]+)\".*" "\\1" header "${line}")
  list(APPEND tolvex_public_headers ${header})
endforeach()
foreach(header IN LISTS tolvex_public_headers)
  get_filename_component(folder ${header} DIRECTORY)
  install(FILES engine/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tolvex/${folder})
endforeach()

set(tolvex_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Tolvex)
install(TARGETS tolvex EXPORT TolvexTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT TolvexTargets NAMESPACE Tolvex:: DESTINATION ${tolvex_package_dir})
configure_package_config_file(cmake/TolvexConfig.cmake.in
  ${PROJECT_BINARY_DIR}/TolvexConfig.cmake INSTALL_DESTINATION ${tolvex_package_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TolvexConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TolvexConfig.cmake ${PROJECT_BINARY_DIR}/TolvexConfigVersion.cmake
  DESTINATION ${tolvex_package_dir})

install(FILES tx-font.ttf tx-font-licence.txt DESTINATION ${TOLVEX_INSTALL_DATA_DIR})

# An installed game finds its data in ../share/<its name> from its own directory.
if(TOLVEX_BUILD_GAME)
  install(TARGETS tolvex-game RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY sprites sounds DESTINATION ${CMAKE_INSTALL_DATADIR}/tolvex-game)
endif()
