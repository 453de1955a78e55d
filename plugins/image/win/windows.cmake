# image.dll: the plug-in's Windows side over lcimage_plugin and
# lcimage_ops, its .def from exports.txt, the dialogs, icon, cursor, mask
# shapes and strings as resources.  Links the host library's import
# library (IMAGEHOST.DLL) and zynlib.
set(IMG_WIN ${IMG}/win)
set(IMG_ICONS ${IMG_GEN}/image.ico ${IMG_GEN}/move.cur)
add_custom_command(
  OUTPUT ${IMG_ICONS}
  COMMAND ${Python3_EXECUTABLE} ${IMG_WIN}/image_icons.py ${IMG_GEN}
  DEPENDS ${IMG_WIN}/image_icons.py ${PROJECT_SOURCE_DIR}/tools/gen_icons.py
  COMMENT "Icon and cursor of the image plug-in")
add_custom_target(lcimage_icons DEPENDS ${IMG_ICONS})

file(GLOB IMG_DIALOG_RC CONFIGURE_DEPENDS ${IMG_WIN}/*_dialog.rc)
set_source_files_properties(${IMG_WIN}/image.rc PROPERTIES
  OBJECT_DEPENDS "${IMG_ICONS};${IMG_WIN}/image_res.h;${IMG_DIALOG_RC}")
set_source_files_properties(${IMG_GEN}/mask_shapes.rc PROPERTIES GENERATED TRUE)
add_library(image SHARED
  ${IMG_WIN}/image_win.cpp
  ${IMG_WIN}/platform_win.cpp
  ${IMG_WIN}/dialog_util_win.cpp
  ${IMG_WIN}/color_win.cpp
  ${IMG_WIN}/color_ctrl_win.cpp
  ${IMG_WIN}/crop_dialog_win.cpp
  ${IMG_WIN}/crop_preview_win.cpp
  ${IMG_WIN}/scale_dialog_win.cpp
  ${IMG_WIN}/rotate_dialog_win.cpp
  ${IMG_WIN}/frame_dialog_win.cpp
  ${IMG_WIN}/frame_preview_win.cpp
  ${IMG_WIN}/align_dialog_win.cpp
  ${IMG_WIN}/caption_win.cpp
  ${IMG_WIN}/tile_dialog_win.cpp
  ${IMG_WIN}/mask_dialog_win.cpp
  ${IMG_WIN}/mask_shape_win.cpp
  ${IMG_WIN}/image.rc
  ${IMG_GEN}/mask_shapes.rc)
set_target_properties(image PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
add_dependencies(image lcimage_icons lcimage_masks)
lc_dll_exports(image ${IMG}/exports.txt image.dll)
target_include_directories(image PRIVATE ${IMG_WIN} ${IMG_GEN} ${PROJECT_SOURCE_DIR})
target_link_libraries(image PRIVATE lcimage_plugin lcimage_ops imagehost zynlib user32 gdi32 comdlg32 lc_warnings)
lc_string_resource(image image_strings)
