# lineplayer_embed_pictures(OUTPUT_VARIABLE): a rule that writes the chooser's pictures
# (assets/*.png) into a C++ source as data; sets OUTPUT_VARIABLE to that source.
function(lineplayer_embed_pictures output_variable)
  set(_root ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/..)
  file(GLOB _pictures CONFIGURE_DEPENDS ${_root}/assets/*.png)
  list(SORT _pictures)
  set(_embedded ${CMAKE_CURRENT_BINARY_DIR}/embedded_pictures.cpp)
  add_custom_command(
    OUTPUT ${_embedded}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${_embedded} -DHEADER=assets/pictures.h -DNAMESPACE=assets
            -DTABLE=kPictureFiles "-DFILES=${_pictures}" -P ${_root}/cmake/EmbedFiles.cmake
    DEPENDS ${_pictures} ${_root}/cmake/EmbedFiles.cmake
    COMMENT "Embedding the chooser's pictures"
    VERBATIM)
  set(${output_variable} ${_embedded} PARENT_SCOPE)
endfunction()
