# Turns INPUT into a C++ source that defines the bytes of the built-in template.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR len "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," body "${hex}")
file(WRITE ${OUTPUT} "#include <cstddef>\nnamespace vortan {\nextern const char BuiltInTemplateData[];\nextern const std::size_t BuiltInTemplateSize;\nconst char BuiltInTemplateData[] = {${body} 0};\nconst std::size_t BuiltInTemplateSize = ${len};\n}\n")
