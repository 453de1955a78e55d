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

add_library(kojpeg_objs OBJECT ${KOJPEG_SOURCES} ${KJ}/kojpeg_store_win.cpp ${KJ}/kojpeg_sheet_win.cpp)
target_include_directories(kojpeg_objs PUBLIC ${KJ} ${PROJECT_SOURCE_DIR}/outside/tavn13 ${PROJECT_SOURCE_DIR}/compat)
target_link_libraries(kojpeg_objs PRIVATE lc_warnings)
lc_string_table(kojpeg_objs ${KJ}/kojpeg.strings kojpeg_strings)

set(KJ_RC ${KJ}/kojpeg.rc)
set_source_files_properties(${KJ_RC} PROPERTIES
  OBJECT_DEPENDS "${KJ_ICON};${KJ}/kojpeg_res.h;${KOJPEG_SCRIPT_FILES}")
add_library(kojpeg SHARED $<TARGET_OBJECTS:kojpeg_objs> ${KJ_RC})
set_target_properties(kojpeg PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
add_dependencies(kojpeg kojpeg_icon)
lc_dll_exports(kojpeg ${KJ}/exports.txt kojpeg.dll)
target_include_directories(kojpeg PRIVATE ${KJ} ${CMAKE_CURRENT_BINARY_DIR})
target_include_directories(kojpeg INTERFACE ${KJ} ${PROJECT_SOURCE_DIR}/outside/tavn13)
target_link_libraries(kojpeg PRIVATE user32 gdi32 comctl32 advapi32 lc_warnings)
lc_string_resource(kojpeg kojpeg_strings)
# The codec library goes beside the plug-in.
if(TARGET tavn13)
  add_dependencies(kojpeg tavn13)
endif()

# The program's and lumaconv's JPG, PIC and KQP entries.
add_library(kojpeg_link STATIC ${KJ}/kojpeg_link.cpp)
target_include_directories(kojpeg_link PUBLIC ${KJ})
target_link_libraries(kojpeg_link PUBLIC kojpeg lcengine PRIVATE lc_warnings)
