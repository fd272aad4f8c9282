# The image button under Wine: a real window, driven by messages and the pointer.
lineplayer_add_gtest(image_button_tests ${CMAKE_CURRENT_LIST_DIR}/image_button_test.cpp)
target_link_libraries(image_button_tests PRIVATE gui test_png_writer)
