# Picture decoding and button painting, on the host and, built for Windows, under Wine.
lineplayer_add_gtest(pictures_tests
  ${CMAKE_CURRENT_LIST_DIR}/pictures_decode_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pictures_assets_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pictures_drawing_test.cpp)
# zlib directly too: the tests mend CRCs of the chunks they edit.
target_link_libraries(pictures_tests PRIVATE gui_pictures assets test_png_writer ZLIB::ZLIB)
