# The core's tests as Windows programs: each is one test of its own (a wine start per program,
# not per case), with the program's resources linked in so the text table loads from the
# module itself, as it does for azuqvc.exe.
set_source_files_properties(${AZU_PROGRAM_RESOURCES} PROPERTIES
                            OBJECT_DEPENDS "${AZU_RESOURCE_FILES}")
function(azu_add_windows_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${AZU_PROGRAM_RESOURCES})
  add_dependencies(${name} azu_text_resource)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  add_test(NAME windows.${name} COMMAND ${name})
  set_tests_properties(windows.${name} PROPERTIES TIMEOUT 300)
endfunction()

azu_add_windows_test(cp1252_test SOURCES app/cp1252_test.cpp LIBS azu_text)
azu_add_windows_test(text_format_test SOURCES app/text_format_test.cpp LIBS azu_text)
azu_add_windows_test(text_table_test SOURCES app/text_table_test.cpp LIBS azu_text)
azu_add_windows_test(command_line_test SOURCES app/command_line_test.cpp LIBS azu_app_core)
azu_add_windows_test(text_resource_test SOURCES platform/text_resource_test.cpp LIBS azu_platform)
target_compile_definitions(text_resource_test PRIVATE AZU_TEXTS_BIN="${AZU_TEXTS_BIN}")
azu_add_windows_test(server_paths_test SOURCES platform/server_paths_test.cpp LIBS azu_platform)
azu_add_windows_test(framework_core_test
  SOURCES framework/message_box_test.cpp framework/ipv4_text_test.cpp LIBS azu_framework_core)
azu_add_windows_test(copier_series_test SOURCES ui/copier_series_test.cpp LIBS azu_ui_core)
azu_add_windows_test(line_rewrite_test SOURCES server/line_rewrite_test.cpp LIBS azu_server)
azu_add_windows_test(transaction_test SOURCES server/transaction_test.cpp LIBS azu_server)
azu_add_windows_test(configure_test SOURCES server/configure_test.cpp LIBS azu_server)
azu_add_windows_test(arp_listing_test SOURCES attach/arp_listing_test.cpp LIBS azu_platform)
azu_add_windows_test(printer_discovery_test SOURCES attach/printer_discovery_test.cpp
                     LIBS azu_attach)
azu_add_windows_test(file_set_switch_test SOURCES attach/file_set_switch_test.cpp LIBS azu_attach)
azu_add_windows_test(printer_ip_mode_test SOURCES attach/printer_ip_mode_test.cpp LIBS azu_attach)
azu_add_windows_test(switch_journal_test SOURCES attach/switch_journal_test.cpp LIBS azu_attach)
azu_add_windows_test(windows_seams_test SOURCES windows/windows_seams_test.cpp LIBS azu_attach)
add_executable(net_recorder windows/net_recorder.cpp)
add_dependencies(windows_seams_test net_recorder)

# The library's parts that have Windows sources of their own, or none at all.
foreach(unit server_address url_encoding status_mapping discovery_answer discovery_list local_file
             handle_registry http_answer_reader)
  azu_add_windows_test(vireo_${unit}_test SOURCES vireo/${unit}_test.cpp LIBS azu_vireo_core)
endforeach()
azu_add_windows_test(vireo_known_servers_test
  SOURCES vireo/known_servers_test.cpp ${PROJECT_SOURCE_DIR}/vireo/api_trust.cpp
  LIBS azu_vireo_core)
# The C entry is built into the test, not imported from the DLL.
target_compile_definitions(vireo_known_servers_test PRIVATE VIREO_BUILDING)

# The Win32 window: the pages' table of stored bytes (the same as on Linux) and the dialogs
# driven through window messages and the dialog manager. They need a display (Xvfb for wine).
azu_add_windows_test(page_bytes_test
  SOURCES pages/page_bytes_test.cpp support/page_steps_win32.cpp LIBS azu_pages)
azu_add_windows_test(win32_window_test
  SOURCES windows/win32_window_test.cpp windows/modal_script.cpp LIBS azu_ui)
# The window through our vireo10.dll against the zorne-emulator the script starts (AZU_EMULATOR).
azu_add_windows_test(win32_emulator_test
  SOURCES windows/win32_emulator_test.cpp windows/modal_script.cpp LIBS azu_ui vireo)
