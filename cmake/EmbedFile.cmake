# Script mode: writes OUTPUT, a C++ source holding the bytes of INPUT as NAME.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
file(WRITE ${OUTPUT}
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <string_view>\n"
  "namespace quillmere::embedded {\n"
  "namespace {\n"
  "const char kBytes[] = {${bytes} '\\0'};\n"
  "}\n"
  "extern const std::string_view ${NAME};\n"
  "const std::string_view ${NAME}(kBytes, ${size});\n"
  "}\n")
