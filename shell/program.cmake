# The Windows program: lcshell_win (frame, commands, host messages, start-up;
# a static library so that tests can create the frame in their own process),
# lcshell_res (menu, accelerators and icons, as objects: resources inside a
# static library would never be linked) and the lumacast executable.

set(LC_SHELL_WIN ${CMAKE_CURRENT_SOURCE_DIR}/win)

# Icons, the logo picture and the demo test cards are drawn by scripts at
# build time; no binary files in the tree.
set(LC_ICON_DIR ${CMAKE_CURRENT_BINARY_DIR}/icons)
set(LC_ICONS ${LC_ICON_DIR}/lumacast_frame.ico ${LC_ICON_DIR}/lumacast_image.ico)
add_custom_command(
  OUTPUT ${LC_ICONS}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/gen_icons.py ${LC_ICON_DIR}
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/gen_icons.py
  COMMENT "Icons of lumacast")
set(LC_PICTURE_DIR ${CMAKE_BINARY_DIR}/demo)
set(LC_PICTURES ${LC_PICTURE_DIR}/logo.dib ${LC_PICTURE_DIR}/card24.bmp ${LC_PICTURE_DIR}/card8.bmp
                ${LC_PICTURE_DIR}/card4.bmp ${LC_PICTURE_DIR}/card1.bmp)
add_custom_command(
  OUTPUT ${LC_PICTURES}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/gen_pictures.py ${LC_PICTURE_DIR}
  DEPENDS ${PROJECT_SOURCE_DIR}/tools/gen_pictures.py
  COMMENT "Logo and demo test cards of lumacast")
add_custom_target(lcshell_icons DEPENDS ${LC_ICONS} ${LC_PICTURES})

set(LC_SAVE_PANEL_RC ${PROJECT_SOURCE_DIR}/shell/filedlg/save_panel.rc)
add_library(lcshell_res OBJECT ${LC_SHELL_WIN}/lumacast.rc ${LC_SAVE_PANEL_RC})
target_include_directories(lcshell_res PRIVATE ${LC_SHELL_WIN} ${LC_ICON_DIR} ${LC_PICTURE_DIR}
                                               ${PROJECT_SOURCE_DIR}/shell/filedlg)
set_source_files_properties(${LC_SHELL_WIN}/lumacast.rc PROPERTIES
  OBJECT_DEPENDS "${LC_ICONS};${LC_PICTURES};${LC_SHELL_WIN}/resource.h")
add_dependencies(lcshell_res lcshell_icons)

set(LC_SHELL ${PROJECT_SOURCE_DIR}/shell)
add_library(lcshell_win STATIC
  ${LC_SHELL}/win/classes_win.cpp
  ${LC_SHELL}/win/settings_store_win.cpp
  ${LC_SHELL}/startup/startup_win.cpp
  ${LC_SHELL}/startup/one_copy_win.cpp
  ${LC_SHELL}/startup/logo_win.cpp
  ${LC_SHELL}/startup/imagehost_win.cpp
  ${LC_SHELL}/startup/filetypes_win.cpp
  ${LC_SHELL}/frame/frame_win.cpp
  ${LC_SHELL}/frame/frame_commands_win.cpp
  ${LC_SHELL}/frame/frame_host_win.cpp
  ${LC_SHELL}/frame/frame_menu_win.cpp
  ${LC_SHELL}/frame/frame_drop_win.cpp
  ${LC_SHELL}/imagewin/imagewin_record_win.cpp
  ${LC_SHELL}/imagewin/imagewin_install_win.cpp
  ${LC_SHELL}/imagewin/imagewin_view_win.cpp
  ${LC_SHELL}/imagewin/imagewin_proc_win.cpp
  ${LC_SHELL}/imagewin/imagewin_create_win.cpp
  ${LC_SHELL}/imagewin/imagewin_save_win.cpp
  ${LC_SHELL}/edit/undo_win.cpp
  ${LC_SHELL}/filedlg/filter_list_win.cpp
  ${LC_SHELL}/filedlg/open_dialog_win.cpp
  ${LC_SHELL}/filedlg/save_dialog_win.cpp
  ${LC_SHELL}/filedlg/load_panel_win.cpp)
target_include_directories(lcshell_win PUBLIC ${LC_SHELL_WIN} ${LC_SHELL}/frame)
target_link_libraries(lcshell_win
  PUBLIC lcengine zynlib user32 gdi32 comdlg32 comctl32 shell32 advapi32
  PRIVATE lc_warnings)

# lc_shell_runtime(<exe>): puts the shared libraries the shell uses (zynlib)
# beside an executable, so that it starts from its build folder under Wine.
function(lc_shell_runtime exe)
  get_target_property(zyn_type zynlib TYPE)
  if(zyn_type STREQUAL "SHARED_LIBRARY")
    add_custom_command(TARGET ${exe} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:zynlib> $<TARGET_FILE_DIR:${exe}>)
  endif()
endfunction()

add_executable(lumacast WIN32 ${LC_SHELL_WIN}/main_win.cpp)
target_link_libraries(lumacast PRIVATE lcshell_win lcshell_res lc_warnings)
if(TARGET lcico_res)
  target_link_libraries(lumacast PRIVATE lcico_res) # the "Icon Types/Sizes" dialog
endif()
if(TARGET lumacast_strings_gen)
  lc_string_resource(lumacast lumacast_strings)
endif()
lc_shell_runtime(lumacast)
# The JPEG plug-in serves the JPG, PIC and KQP entries (kojpeg.dll and
# TAVN13.DLL are built into the same bin folder).
if(TARGET kojpeg_link)
  target_sources(lumacast PRIVATE ${PROJECT_SOURCE_DIR}/plugins/kojpeg/kojpeg_program_win.cpp)
  target_link_libraries(lumacast PRIVATE kojpeg_link)
endif()

# Console helper for scripts: asks a running frame to close (tools/wine).
add_executable(closewin ${PROJECT_SOURCE_DIR}/tools/wine/closewin.c)
target_link_libraries(closewin PRIVATE user32 lc_warnings)

# Keeps Wine's desktop open while the tests run (tools/wine/wine_env.sh).
add_executable(keepdesk ${PROJECT_SOURCE_DIR}/tools/wine/keepdesk.c)
target_link_libraries(keepdesk PRIVATE user32 lc_warnings)
