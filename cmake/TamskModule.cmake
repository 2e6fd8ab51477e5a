# A module is one folder: every *.cpp that is not a test goes into its library,
# every *_test.cpp into its test executable. Globbing keeps the folders the
# single source of truth for what a module holds. A file named *_posix.cpp or
# *_windows.cpp (and its *_posix_test.cpp or *_windows_test.cpp) belongs to that
# platform alone and is left out of the build on the other.
function(tamsk_platform_filter list_var)
  if(WIN32)
    list(FILTER ${list_var} EXCLUDE REGEX "_posix(_test)?\\.cpp$")
  else()
    list(FILTER ${list_var} EXCLUDE REGEX "_windows(_test)?\\.cpp$")
  endif()
  set(${list_var} ${${list_var}} PARENT_SCOPE)
endfunction()

function(tamsk_module_sources out dir)
  file(GLOB _all CONFIGURE_DEPENDS "${dir}/*.cpp")
  list(FILTER _all EXCLUDE REGEX "_test\\.cpp$")
  tamsk_platform_filter(_all)
  set(${out} ${_all} PARENT_SCOPE)
endfunction()

function(tamsk_module_tests out dir)
  file(GLOB _tests CONFIGURE_DEPENDS "${dir}/*_test.cpp")
  tamsk_platform_filter(_tests)
  set(${out} ${_tests} PARENT_SCOPE)
endfunction()

# A toolkit-free module: library tamsk_<name> from the folder's sources, linked
# to deps, and test executable <name>_tests from its *_test.cpp files.
function(tamsk_core_module name)
  cmake_parse_arguments(M "" "" "DEPS" ${ARGN})
  tamsk_module_sources(sources ${CMAKE_CURRENT_SOURCE_DIR})
  add_library(tamsk_${name} STATIC ${sources})
  target_link_libraries(tamsk_${name} PUBLIC ${M_DEPS})
  tamsk_warnings(tamsk_${name})
  if(TAMSK_BUILD_TESTS)
    tamsk_module_tests(tests ${CMAKE_CURRENT_SOURCE_DIR})
    tamsk_gtest(${name}_tests SOURCES ${tests} LIBS tamsk_${name})
  endif()
endfunction()
