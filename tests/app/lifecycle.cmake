# The lifecycle layer under Wine, on real windows and message loops.
add_library(test_support STATIC ${CMAKE_CURRENT_LIST_DIR}/../support/message_pump.cpp)
target_include_directories(test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(test_support PUBLIC gui PRIVATE lineplayer_warnings)

lineplayer_add_gtest(lifecycle_tests
  ${CMAKE_CURRENT_LIST_DIR}/lifecycle_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/fatal_end_test.cpp
  ${PROJECT_SOURCE_DIR}/ui/lineplayer.rc)
target_link_libraries(lifecycle_tests PRIVATE app line_table_default test_support)
