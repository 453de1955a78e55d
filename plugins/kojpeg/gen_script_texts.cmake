# Makes kojpeg_script_texts.h: the six scan scripts as C strings, for the
# native build (Windows links the same files as __SCRIPT resources).
# -DOUT=<header> -DDIR=<scripts folder>
set(text "/* Generated from scripts/scan143.txt .. scan148.txt; do not edit. */\n")
string(APPEND text "static const char *const KOJPEG_SCRIPTS[6] = {\n")
foreach(id 143 144 145 146 147 148)
  file(READ ${DIR}/scan${id}.txt body)
  string(APPEND text "R\"KJSCRIPT(${body})KJSCRIPT\",\n")
endforeach()
string(APPEND text "};\n")
file(WRITE ${OUT}.tmp "${text}")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUT}.tmp ${OUT})
