# The browser host: a container window with the system web-browser control embedded in it.
target_sources(gui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/browser_container.cpp
  ${CMAKE_CURRENT_LIST_DIR}/browser_host.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ole_embedding.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ole_site.cpp)
