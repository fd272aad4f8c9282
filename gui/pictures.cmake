# Picture decoding and compositing: portable, so the host build tests them too.
add_library(gui_pictures STATIC
  ${CMAKE_CURRENT_LIST_DIR}/picture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/canvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/button_painting.cpp)
target_include_directories(gui_pictures PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(gui_pictures PRIVATE PNG::PNG lineplayer_warnings)
