# The Windows cross-build (cmake/mingw-w64-x86_64-posix.cmake): what Debian
# does not ship for the cross toolchain is taken from host sources here, and
# the test executables run under Wine.

# Header-only packages (CLI11, RapidJSON) come from the host's Debian
# packages, whose own package files point at /usr/include, which must not reach
# a cross compile: a folder holding only their headers stands in.
function(tamsk_host_headers target folder)
  if(NOT TARGET ${target})
    set(_headers ${CMAKE_BINARY_DIR}/host-headers)
    file(MAKE_DIRECTORY ${_headers})
    file(CREATE_LINK /usr/include/${folder} ${_headers}/${folder} SYMBOLIC)
    add_library(${target} INTERFACE IMPORTED GLOBAL)
    target_include_directories(${target} SYSTEM INTERFACE ${_headers})
  endif()
endfunction()
tamsk_host_headers(CLI11::CLI11 CLI)
tamsk_host_headers(RapidJSON::RapidJSON rapidjson)

if(TAMSK_BUILD_TESTS)
  # GoogleTest built with the cross compiler from Debian's sources (package googletest).
  set(TAMSK_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${TAMSK_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  # Every test executable runs under Wine in a prefix kept in the build folder.
  set(TAMSK_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${TAMSK_WINEPREFIX})
endif()
