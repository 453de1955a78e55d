# The portable parts of the shell that live in the engine library.
target_sources(lcengine PRIVATE ${CMAKE_CURRENT_LIST_DIR}/settings/settings.cpp)
