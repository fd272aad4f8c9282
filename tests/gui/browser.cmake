# The browser host under Wine: the system control against a loopback HTTP logger inside the
# test process, and a fake control for the failure paths.
lineplayer_add_gtest(browser_host_tests
  ${CMAKE_CURRENT_LIST_DIR}/browser_host_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/browser_ole_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/browser_fake_control.cpp
  ${CMAKE_CURRENT_LIST_DIR}/browser_http_logger.cpp)
target_link_libraries(browser_host_tests PRIVATE gui ws2_32)

# What the control itself was handed, read from Wine's trace of it: only under Wine.
if(CMAKE_CROSSCOMPILING)
  add_test(NAME BrowserControlTrace
           COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/browser_trace_test.py
                   ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:browser_host_tests>)
  set_tests_properties(BrowserControlTrace PROPERTIES TIMEOUT 360)
endif()
