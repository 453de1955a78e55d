# style.dll and the static lcstyle of the Windows build: one set of
# objects, the .def from exports.txt (the one list of ordinals).
add_library(lcstyle_objs OBJECT ${STYLE_SOURCES} ${STY}/style_profile_win.cpp ${STY}/style_layout_win.cpp)
target_include_directories(lcstyle_objs PUBLIC ${STY} PRIVATE ${PROJECT_SOURCE_DIR}/zynlib/dib)
target_link_libraries(lcstyle_objs PUBLIC zynlib colorkit compat PRIVATE lc_warnings)
lc_string_table(lcstyle_objs ${STY}/style.strings style_strings)

add_library(lcstyle STATIC $<TARGET_OBJECTS:lcstyle_objs>)
target_include_directories(lcstyle PUBLIC ${STY} ${PROJECT_BINARY_DIR}/strings)
target_link_libraries(lcstyle PUBLIC zynlib colorkit compat)
# A program linking lcstyle carries the strings it loads from its own
# module (lumaconv is added after this folder).
function(style_strings_into_lumaconv)
  if(TARGET lumaconv)
    lc_string_resource(lumaconv style_strings)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL style_strings_into_lumaconv)

if(LC_I686)
  set(STY_ARCH i686)
else()
  set(STY_ARCH x86_64)
endif()
set(STY_DEF ${CMAKE_CURRENT_BINARY_DIR}/style-${STY_ARCH}.def)
add_custom_command(
  OUTPUT ${STY_DEF}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/gen_def.py
          ${STY}/exports.txt --arch ${STY_ARCH} --library style.dll --def ${STY_DEF}
  DEPENDS ${STY}/exports.txt ${PROJECT_SOURCE_DIR}/tools/gen_def.py
  COMMENT "Export definitions of style (${STY_ARCH})")
add_custom_target(style_def DEPENDS ${STY_DEF})

set_source_files_properties(${STY}/style.rc PROPERTIES OBJECT_DEPENDS ${STY}/style_res.h)
add_library(style SHARED $<TARGET_OBJECTS:lcstyle_objs> ${STY}/style.rc ${STY_DEF})
set_target_properties(style PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
add_dependencies(style style_def)
target_include_directories(style PRIVATE ${STY})
target_link_libraries(style PRIVATE zynlib colorkit user32 lc_warnings)
lc_string_resource(style style_strings)
if(LC_I686)
  # stdcall names carry @bytes: export them undecorated and rebuild the
  # import library from the decorated .def so callers still link.
  target_link_options(style PRIVATE -Wl,--kill-at)
  add_custom_command(TARGET style POST_BUILD
    COMMAND ${CMAKE_DLLTOOL} -k -d ${STY_DEF} -D style.dll -l $<TARGET_LINKER_FILE:style>
    COMMENT "Import library of style (undecorated exports)")
endif()
