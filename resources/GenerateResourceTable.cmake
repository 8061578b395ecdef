# cmake -DOUTPUT=table.cpp -DFILES=a.png;b.ttf [-DWINDOWS=ON] -P GenerateResourceTable.cmake
# Writes a C++ source that embeds every file with the assembler's .incbin (no copy through a
# hex dump, so the build stays fast for large files) and lists them in a table. WINDOWS: for a
# PE/COFF object, whose symbols are not exported unless asked for and which has no .hidden.
if(NOT OUTPUT)
  message(FATAL_ERROR "OUTPUT is required")
endif()
if(WINDOWS)
  # COFF's assembler knows no .previous; the compiler names the section of what follows.
  set(section ".section .rdata$quorvel_resources,\"dr\"")
  set(section_end ".text")
  set(hidden "")
else()
  set(section ".section .rodata.quorvel_resources,\"a\",@progbits")
  set(section_end ".previous")
  set(hidden "__attribute__((visibility(\"hidden\"))) ")
endif()

set(asm "")
set(declarations "")
set(entries "")
set(index 0)
foreach(file IN LISTS FILES)
  if(NOT EXISTS "${file}")
    message(FATAL_ERROR "Resource file missing: ${file}")
  endif()
  get_filename_component(file_name "${file}" NAME)
  string(TOUPPER "${file_name}" upper_name)
  get_filename_component(extension "${file}" LAST_EXT)
  set(type "")
  if(extension)
    string(SUBSTRING "${extension}" 1 -1 extension)
    string(TOUPPER "${extension}" type)
  endif()
  # Escape for an assembler string literal.
  string(REPLACE "\\" "\\\\" asm_path "${file}")
  string(REPLACE "\"" "\\\"" asm_path "${asm_path}")
  set(symbol "quorvel_resource_${index}")
  string(APPEND asm "  .globl ${symbol}_begin\n  .globl ${symbol}_end\n")
  if(NOT WINDOWS)
    string(APPEND asm "  .hidden ${symbol}_begin\n  .hidden ${symbol}_end\n")
  endif()
  string(APPEND asm
    "  .balign 16\n${symbol}_begin:\n  .incbin \"${asm_path}\"\n${symbol}_end:\n")
  string(APPEND declarations
    "extern \"C\" ${hidden}const unsigned char ${symbol}_begin[];\n"
    "extern \"C\" ${hidden}const unsigned char ${symbol}_end[];\n")
  string(APPEND entries
    "    {\"${type}\", \"\\\"${upper_name}\\\"\", ${symbol}_begin,\n"
    "     static_cast<std::size_t>(${symbol}_end - ${symbol}_begin)},\n")
  math(EXPR index "${index} + 1")
endforeach()

set(content "// Generated at build time; do not edit.\n#include \"resources/ResourceTable.h\"\n\n")
if(index GREATER 0)
  string(APPEND content "__asm__(R\"ASM(\n  ${section}\n${asm}  ${section_end}\n)ASM\");\n\n"
    "${declarations}\n")
endif()
string(APPEND content "namespace quorvel {\n\nusing plugkit::EmbeddedResource;\n\nnamespace {\n")
if(index GREATER 0)
  string(APPEND content "const EmbeddedResource table[] = {\n${entries}};\n")
else()
  string(APPEND content "const EmbeddedResource* const table = nullptr;\n")
endif()
string(APPEND content "}  // namespace\n\nstd::span<const EmbeddedResource> ResourceTable() {\n")
if(index GREATER 0)
  string(APPEND content "  return table;\n")
else()
  string(APPEND content "  return {table, 0};\n")
endif()
string(APPEND content "}\n\n}  // namespace quorvel\n")

file(WRITE "${OUTPUT}" "${content}")
