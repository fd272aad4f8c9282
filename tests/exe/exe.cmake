# The real program under Wine and Xvfb, driven from the outside.
if(TARGET lineplayer)
  # The same program with every interface leading to the tests' loopback logger.
  lineplayer_line_table(line_table_loopback ${CMAKE_CURRENT_LIST_DIR}/loopback_prefixes.txt)
  lineplayer_program(lineplayer_loopback line_table_loopback)

  add_test(NAME exe_chooser
           COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/test_chooser.py $<TARGET_FILE:lineplayer>)
  add_test(NAME exe_player
           COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/test_player.py
                   $<TARGET_FILE:lineplayer_loopback>)
  set_tests_properties(exe_chooser exe_player PROPERTIES TIMEOUT 600)
  add_test(NAME exe_file_checks
           COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/check_exe.py $<TARGET_FILE:lineplayer>
                   ${LINEPLAYER_PREFIXES})
endif()
