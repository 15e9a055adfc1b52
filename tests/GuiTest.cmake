# SPDX-License-Identifier: GPL-3.0-or-later
# One Qt Test program per window test file (tests/<dir>/<name>.cpp), against the real widgets;
# the Linux suite and the Windows build (tests/windows) make them the same way.
function(mk_gui_test test)
  set(T ${PROJECT_SOURCE_DIR}/tests)
  get_filename_component(name ${test} NAME)
  add_executable(${name} ${T}/${test}.cpp)
  target_include_directories(${name} PRIVATE ${T})
  target_link_libraries(${name} PRIVATE app Qt6::Test)
  target_compile_definitions(${name} PRIVATE
    MK_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
    MK_TEST_DATA="${T}/data")
endfunction()
