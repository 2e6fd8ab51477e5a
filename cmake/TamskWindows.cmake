# The Windows cross-build (cmake/mingw-w64-x86_64-posix.cmake): what Debian
# does not ship for the cross toolchain is taken from host sources here, and
# the test executables run under Wine.

# windows.h must not define min and max over std::min and std::max.
add_compile_definitions(NOMINMAX)

# CLI11 is header-only, but its package points at /usr/include, which must not
# reach a cross compile; a folder holding only its headers stands in.
if(NOT TARGET CLI11::CLI11)
  set(_cli11 ${CMAKE_BINARY_DIR}/host-headers)
  file(MAKE_DIRECTORY ${_cli11})
  file(CREATE_LINK /usr/include/CLI ${_cli11}/CLI SYMBOLIC)
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${_cli11})
endif()

# RapidJSON likewise: header-only, taken from the host's rapidjson-dev.
if(NOT TARGET RapidJSON::RapidJSON)
  set(_rapidjson ${CMAKE_BINARY_DIR}/host-headers)
  file(MAKE_DIRECTORY ${_rapidjson})
  file(CREATE_LINK /usr/include/rapidjson ${_rapidjson}/rapidjson SYMBOLIC)
  add_library(RapidJSON::RapidJSON INTERFACE IMPORTED)
  target_include_directories(RapidJSON::RapidJSON SYSTEM INTERFACE ${_rapidjson})
endif()

if(TAMSK_BUILD_TESTS)
  # GoogleTest built with the cross compiler from Debian's sources (package googletest).
  set(TAMSK_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${TAMSK_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  # Every test executable runs under Wine in a prefix kept in the build folder.
  set(TAMSK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${TAMSK_WINEPREFIX})
endif()
