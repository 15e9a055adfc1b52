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

# The window tests, listed once for the Linux suite (tests/CMakeLists.txt) and the Windows build
# (tests/windows/CMakeLists.txt).
set(MK_GUI_TESTS
  app/connection_check_dialog_test
  app/dialogs_test
  app/end_requests_test
  app/help_window_test
  app/history_window_test
  app/installer_menus_test
  app/mainform_test
  app/openfile_test
  app/placement_wm_test
  app/progress_test
  app/roundtrip_test
  app/screenshots_test
  app/seriallink_test
  app/shortcuts_test
  app/shown_values_test
  app/startup_test
  app/support_report_test
  app/window_fit_test
  editor/addsystems_page_test
  editor/colour_schemes_test
  editor/display_layouts_test
  editor/editor_comfort_test
  editor/editor_damaged_images_test
  editor/editor_fields_test
  editor/editor_layout_test
  editor/editor_protocol_test
  editor/editor_transaction_test
  editor/editor_visibility_test
  editor/hotmenu_page_test
  editor/pages_roundtrip_test
  editor/tank_page_test
  viewers/journals_viewer_test
  viewers/mainwindow_viewers_test
  viewers/osc_viewer_test
  viewers/viewer_transactions_test)
# Left out of the Windows build, each with its reason:
set(MK_GUI_TESTS_NOT_ON_WINDOWS
  app/openfile_test       # starts mkconf under a POSIX process and signals
  app/startup_test        # the same
  app/end_requests_test   # POSIX signals, and mksim on a pseudo-terminal
  app/placement_wm_test   # a window manager on X
  app/roundtrip_test      # mksim on a pseudo-terminal
  app/screenshots_test    # makes the Linux manual's pictures (manual_check_test checks them)
  app/support_report_test # its state folder is set through XDG_STATE_HOME
  app/window_fit_test)    # never run under Wine yet (it was missing from the Windows list)
