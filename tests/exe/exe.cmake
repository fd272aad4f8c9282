# The real program under Wine and Xvfb, driven from the outside.
if(TARGET lineplayer)
  # The same program with every interface leading to the tests' loopback logger.
  lineplayer_line_table(line_table_loopback ${CMAKE_CURRENT_LIST_DIR}/loopback_prefixes.txt)
  lineplayer_program(lineplayer_loopback line_table_loopback)

  # Puts a text on the Windows clipboard, for pastes too long to type.
  add_executable(set_clipboard ${CMAKE_CURRENT_LIST_DIR}/set_clipboard.cpp)
  target_link_libraries(set_clipboard PRIVATE lineplayer_warnings)
  target_link_options(set_clipboard PRIVATE -static -municode)

  add_test(NAME exe_chooser
           COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/test_chooser.py $<TARGET_FILE:lineplayer>)
  add_test(NAME exe_player
           COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/test_player.py
                   $<TARGET_FILE:lineplayer_loopback>)
  add_test(NAME exe_soak_and_bad_input
           COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/test_hardening.py
                   $<TARGET_FILE:lineplayer_loopback>)
  set_tests_properties(exe_chooser exe_player exe_soak_and_bad_input PROPERTIES TIMEOUT 900)
  add_test(NAME exe_file_checks
           COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/check_exe.py $<TARGET_FILE:lineplayer>
                   ${LINEPLAYER_PREFIXES})
endif()
