# The built-in "Stylize" menu over style.dll: objects, with the dialog and
# the strings as resources, linked into IMAGEHOST.DLL.
set(STZ ${CMAKE_CURRENT_SOURCE_DIR})
add_library(imagehost_stylize OBJECT
  ${STZ}/stylize_menu_win.cpp
  ${STZ}/stylize_dialog_win.cpp
  ${STZ}/stylize_settings_win.cpp
  ${STZ}/stylize_filters.cpp
  ${STZ}/stylize.rc)
set_source_files_properties(${STZ}/stylize.rc PROPERTIES OBJECT_DEPENDS ${STZ}/stylize_res.h)
target_compile_definitions(imagehost_stylize PRIVATE LC_BUILDING_IMAGEHOST=1)
target_include_directories(imagehost_stylize PUBLIC ${STZ})
target_link_libraries(imagehost_stylize
  PUBLIC zynlib lchostapi lcimagehost_table comctl32 comdlg32 user32 gdi32
  PRIVATE lc_warnings)
lc_string_table(imagehost_stylize ${STZ}/stylize.strings stylize_strings)
lc_string_resource(imagehost_stylize stylize_strings)
