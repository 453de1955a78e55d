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

set_source_files_properties(${STY}/style.rc PROPERTIES OBJECT_DEPENDS ${STY}/style_res.h)
add_library(style SHARED $<TARGET_OBJECTS:lcstyle_objs> ${STY}/style.rc)
set_target_properties(style PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
lc_dll_exports(style ${STY}/exports.txt style.dll)
target_include_directories(style PRIVATE ${STY})
target_link_libraries(style PRIVATE zynlib colorkit user32 lc_warnings)
lc_string_resource(style style_strings)
