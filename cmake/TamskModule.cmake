# A module is one folder: every *.cpp that is not a test goes into its library,
# every *_test.cpp into its test executable. Globbing keeps the folders the
# single source of truth for what a module holds.
function(tamsk_module_sources out dir)
  file(GLOB _all CONFIGURE_DEPENDS "${dir}/*.cpp")
  list(FILTER _all EXCLUDE REGEX "_test\\.cpp$")
  set(${out} ${_all} PARENT_SCOPE)
endfunction()

function(tamsk_module_tests out dir)
  file(GLOB _tests CONFIGURE_DEPENDS "${dir}/*_test.cpp")
  set(${out} ${_tests} PARENT_SCOPE)
endfunction()
