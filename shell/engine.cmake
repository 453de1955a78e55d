# The portable parts of the shell that live in the engine library.
target_sources(lcengine PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/settings/settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/startup/handover.cpp
  ${CMAKE_CURRENT_LIST_DIR}/imagewin/record.cpp
  ${CMAKE_CURRENT_LIST_DIR}/imagewin/geometry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/imagewin/close_rule.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frame/drop_rule.cpp)
