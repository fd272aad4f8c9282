# cmake -P EmbedFiles.cmake -DOUTPUT=file.cpp -DHEADER=x.h -DNAMESPACE=ns -DTABLE=name "-DFILES=a;b"
# Writes a C++ source with each file's bytes as a constant array and a table
# `const std::array<EmbeddedFile, N> TABLE` of names and spans; HEADER declares
# EmbeddedFile { std::string_view name; std::span<const std::uint8_t> bytes; }.
# Output is byte-identical for identical input files.
set(_out "// Generated at build time from the project's files; do not edit.\n")
string(APPEND _out "#include \"${HEADER}\"\n\n#include <array>\n#include <cstdint>\n\n")
string(APPEND _out "namespace ${NAMESPACE} {\nnamespace {\n\n")
set(_table "")
set(_count 0)
foreach(_file IN LISTS FILES)
  get_filename_component(_name ${_file} NAME)
  string(MAKE_C_IDENTIFIER ${_name} _id)
  file(READ ${_file} _hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," _bytes "${_hex}")
  string(APPEND _out "constexpr std::uint8_t k_${_id}[] = {${_bytes}};\n")
  string(APPEND _table "    EmbeddedFile{\"${_name}\", k_${_id}},\n")
  math(EXPR _count "${_count} + 1")
endforeach()
string(APPEND _out "\n}  // namespace\n\n")
string(APPEND _out "extern const std::array<EmbeddedFile, ${_count}> ${TABLE};\n")
string(APPEND _out "const std::array<EmbeddedFile, ${_count}> ${TABLE} = {{\n${_table}}};\n\n")
string(APPEND _out "}  // namespace ${NAMESPACE}\n")
file(WRITE ${OUTPUT}.tmp "${_out}")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
