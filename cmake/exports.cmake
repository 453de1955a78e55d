# lc_dll_exports(<target> <exports.txt> <dll name>): gives a SHARED target
# its .def, generated from the list of ordinals for the architecture being
# built.  On i686 the stdcall names are exported undecorated and the import
# library is rebuilt from the decorated .def, so callers still link.
function(lc_dll_exports target list dll)
  if(LC_I686)
    set(arch i686)
  else()
    set(arch x86_64)
  endif()
  set(def ${CMAKE_CURRENT_BINARY_DIR}/${target}-${arch}.def)
  add_custom_command(
    OUTPUT ${def}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/gen_def.py ${list} --arch ${arch}
            --library ${dll} --def ${def}
    DEPENDS ${list} ${PROJECT_SOURCE_DIR}/tools/gen_def.py
    COMMENT "Export definitions of ${dll} (${arch})")
  add_custom_target(${target}_def DEPENDS ${def})
  target_sources(${target} PRIVATE ${def})
  add_dependencies(${target} ${target}_def)
  if(LC_I686)
    target_link_options(${target} PRIVATE -Wl,--kill-at)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_DLLTOOL} -k -d ${def} -D ${dll} -l $<TARGET_LINKER_FILE:${target}>
      COMMENT "Import library of ${dll} (undecorated exports)")
  endif()
endfunction()
