# kojpeg.dll: the plug-in's code, the .def from exports.txt (the one list of
# ordinals), the pages, icon and scan scripts as resources.  The objects
# are also linked into the Windows test that drives the sheet.
set(KJ_ICON ${CMAKE_CURRENT_BINARY_DIR}/orvanta.ico)
add_custom_command(
  OUTPUT ${KJ_ICON}
  COMMAND ${Python3_EXECUTABLE} ${KJ}/kojpeg_icon.py ${KJ_ICON}
  DEPENDS ${KJ}/kojpeg_icon.py
  COMMENT "Icon of kojpeg")
add_custom_target(kojpeg_icon DEPENDS ${KJ_ICON})

if(LC_I686)
  set(KJ_ARCH i686)
else()
  set(KJ_ARCH x86_64)
endif()
set(KJ_DEF ${CMAKE_CURRENT_BINARY_DIR}/kojpeg-${KJ_ARCH}.def)
add_custom_command(
  OUTPUT ${KJ_DEF}
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/gen_def.py
          ${KJ}/exports.txt --arch ${KJ_ARCH} --library kojpeg.dll --def ${KJ_DEF}
  DEPENDS ${KJ}/exports.txt ${PROJECT_SOURCE_DIR}/tools/gen_def.py
  COMMENT "Export definitions of kojpeg (${KJ_ARCH})")
add_custom_target(kojpeg_def DEPENDS ${KJ_DEF})

add_library(kojpeg_objs OBJECT ${KOJPEG_SOURCES} ${KJ}/kojpeg_store_win.cpp ${KJ}/kojpeg_sheet_win.cpp)
target_include_directories(kojpeg_objs PUBLIC ${KJ} ${PROJECT_SOURCE_DIR}/outside/tavn13 ${PROJECT_SOURCE_DIR}/compat)
target_link_libraries(kojpeg_objs PRIVATE lc_warnings)
lc_string_table(kojpeg_objs ${KJ}/kojpeg.strings kojpeg_strings)

set(KJ_RC ${KJ}/kojpeg.rc)
set_source_files_properties(${KJ_RC} PROPERTIES
  OBJECT_DEPENDS "${KJ_ICON};${KJ}/kojpeg_res.h;${KOJPEG_SCRIPT_FILES}")
add_library(kojpeg SHARED $<TARGET_OBJECTS:kojpeg_objs> ${KJ_RC} ${KJ_DEF})
set_target_properties(kojpeg PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
add_dependencies(kojpeg kojpeg_def kojpeg_icon)
target_include_directories(kojpeg PRIVATE ${KJ} ${CMAKE_CURRENT_BINARY_DIR})
target_include_directories(kojpeg INTERFACE ${KJ} ${PROJECT_SOURCE_DIR}/outside/tavn13)
target_link_libraries(kojpeg PRIVATE user32 gdi32 comctl32 advapi32 lc_warnings)
lc_string_resource(kojpeg kojpeg_strings)
# The codec library goes beside the plug-in.
if(TARGET tavn13)
  add_dependencies(kojpeg tavn13)
endif()
if(LC_I686)
  # stdcall names carry @bytes: export them undecorated and rebuild the
  # import library from the decorated .def so callers still link.
  target_link_options(kojpeg PRIVATE -Wl,--kill-at)
  add_custom_command(TARGET kojpeg POST_BUILD
    COMMAND ${CMAKE_DLLTOOL} -k -d ${KJ_DEF} -D kojpeg.dll -l $<TARGET_LINKER_FILE:kojpeg>
    COMMENT "Import library of kojpeg (undecorated exports)")
endif()

# The program's and lumaconv's JPG, PIC and KQP entries.
add_library(kojpeg_link STATIC ${KJ}/kojpeg_link.cpp)
target_include_directories(kojpeg_link PUBLIC ${KJ})
target_link_libraries(kojpeg_link PUBLIC kojpeg lcengine PRIVATE lc_warnings)
