# The two windows as the program defines them, on real windows under Wine.
lineplayer_add_gtest(ui_tests ${CMAKE_CURRENT_LIST_DIR}/windows_test.cpp ${PROJECT_SOURCE_DIR}/ui/lineplayer.rc)
target_link_libraries(ui_tests PRIVATE ui line_table_default test_support)
# The texts below are written as they read and kept as GBK, as the program keeps them.
target_compile_options(ui_tests PRIVATE -fexec-charset=GBK)
target_include_directories(ui_tests PRIVATE ${CMAKE_BINARY_DIR}/tests/generated)
add_dependencies(ui_tests lines_tests)
