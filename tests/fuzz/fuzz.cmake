# libFuzzer targets for the portable code (preset fuzz: clang, the libraries built with
# -fsanitize=fuzzer-no-link,address,undefined). Each CTest test fuzzes for a bounded time
# from a corpus in the build tree and fails on any crash, leak or sanitizer report.

set(_fuzz_seeds ${CMAKE_BINARY_DIR}/fuzz-seeds)
set(_fuzz_corpus ${CMAKE_BINARY_DIR}/corpus)
set(_fuzz_artifacts ${CMAKE_BINARY_DIR}/fuzz-artifacts)

# Seeds are remade at every configure; the corpus keeps what earlier runs found.
file(GLOB _fuzz_pictures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/*.png)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_CURRENT_LIST_DIR}/make_seeds.py ${PROJECT_SOURCE_DIR}/lines/make_line_table.py)
execute_process(COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/make_seeds.py ${PROJECT_SOURCE_DIR}
                        ${_fuzz_seeds}
                RESULT_VARIABLE _fuzz_seeds_result)
if(NOT _fuzz_seeds_result EQUAL 0)
  message(FATAL_ERROR "Could not write the fuzz seeds")
endif()

set(LINEPLAYER_FUZZ_SECONDS 25 CACHE STRING "How long each fuzz test runs")

# lineplayer_fuzz_target(NAME CORPUS SOURCE [OPTIONS...]): the fuzzer, and its test.
function(lineplayer_fuzz_target name corpus source)
  add_executable(${name} ${CMAKE_CURRENT_LIST_DIR}/${source})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE lineplayer_warnings)

  file(MAKE_DIRECTORY ${_fuzz_corpus}/${corpus} ${_fuzz_artifacts}/${corpus})
  file(GLOB _seeds ${_fuzz_seeds}/${corpus}/*)
  file(COPY ${_seeds} DESTINATION ${_fuzz_corpus}/${corpus})
  add_test(NAME ${name}
           COMMAND ${name} -max_total_time=${LINEPLAYER_FUZZ_SECONDS} -rss_limit_mb=1024 -timeout=10
                   -print_final_stats=1 -artifact_prefix=${_fuzz_artifacts}/${corpus}/ ${ARGN}
                   ${_fuzz_corpus}/${corpus})
  math(EXPR _limit "${LINEPLAYER_FUZZ_SECONDS} * 4 + 60")
  set_tests_properties(${name} PROPERTIES TIMEOUT ${_limit} LABELS fuzz
                       ENVIRONMENT "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endfunction()

lineplayer_fuzz_target(fuzz_line_cipher line_cipher fuzz_line_cipher.cpp)
target_link_libraries(fuzz_line_cipher PRIVATE lines)

lineplayer_fuzz_target(fuzz_pictures pictures fuzz_pictures.cpp -dict=${CMAKE_CURRENT_LIST_DIR}/png.dict)
target_link_libraries(fuzz_pictures PRIVATE gui_pictures ZLIB::ZLIB)
