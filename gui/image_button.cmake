# The image button: Win32, painted by the portable gui_pictures code.
target_sources(gui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/image_button.cpp)
target_link_libraries(gui PUBLIC gui_pictures)
