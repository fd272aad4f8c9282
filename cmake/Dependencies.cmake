# Third-party libraries, all from Debian's archive.
#
# Host: libpng, zlib and GoogleTest's sources as Debian installs them.
# Windows: zlib from libz-mingw-w64-dev (static archive only: Wine ships its own zlib1.dll,
# so importing the DLL would run here and fail on Windows), libpng built as a static
# library from Debian's libpng1.6 source package into the build tree, configured to read only.

if(CMAKE_CROSSCOMPILING AND MINGW)
  set(_zlib_static /usr/${LINEPLAYER_MINGW_TRIPLE}/lib/libz.a)
  if(NOT ZLIB_LIBRARY AND EXISTS ${_zlib_static})
    set(ZLIB_LIBRARY ${_zlib_static} CACHE FILEPATH "" FORCE)
    set(ZLIB_INCLUDE_DIR /usr/${LINEPLAYER_MINGW_TRIPLE}/include CACHE PATH "" FORCE)
  endif()

  # Built again whenever the recipe (the script and its configuration) changes; the recipe
  # is recorded inside install/, which the script empties first.
  set(_png_root ${CMAKE_BINARY_DIR}/_deps/libpng)
  set(_png_script ${CMAKE_SOURCE_DIR}/tools/build-libpng-mingw.sh)
  set(_png_config ${CMAKE_SOURCE_DIR}/tools/libpng-read-only.dfa)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_png_script} ${_png_config})
  file(SHA256 ${_png_script} _png_script_hash)
  file(SHA256 ${_png_config} _png_config_hash)
  set(_png_recipe "${_png_script_hash} ${_png_config_hash} ${CMAKE_C_COMPILER}")
  set(_png_built "")
  if(EXISTS ${_png_root}/install/recipe.txt)
    file(READ ${_png_root}/install/recipe.txt _png_built)
  endif()
  if(NOT _png_built STREQUAL _png_recipe)
    message(STATUS "Building libpng for Windows from Debian's source package")
    execute_process(COMMAND ${_png_script} ${_png_root} ${CMAKE_C_COMPILER} ${ZLIB_LIBRARY} ${ZLIB_INCLUDE_DIR}
                            ${_png_config}
                    RESULT_VARIABLE _png_result)
    if(NOT _png_result EQUAL 0)
      message(FATAL_ERROR "Could not build libpng from Debian's libpng1.6 source package")
    endif()
    file(WRITE ${_png_root}/install/recipe.txt "${_png_recipe}")
  endif()
  # The toolchain confines library searches to the MinGW root, so name the files directly.
  set(PNG_LIBRARY ${_png_root}/install/lib/libpng16.a CACHE FILEPATH "" FORCE)
  set(PNG_PNG_INCLUDE_DIR ${_png_root}/install/include CACHE PATH "" FORCE)
endif()

find_package(ZLIB REQUIRED)
find_package(PNG REQUIRED)

if(BUILD_TESTING)
  # GoogleTest from Debian's googletest sources, built with our own compiler.
  set(_gtest_src /usr/src/googletest)
  if(NOT EXISTS ${_gtest_src}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources missing: run scripts/install-deps.sh")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(${_gtest_src} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)
  # Not our code: its warnings (GCC 12 false positives among them) are not ours to fix.
  target_compile_options(gtest PRIVATE -w)
  include(GoogleTest)
endif()
