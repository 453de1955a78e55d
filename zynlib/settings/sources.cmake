# The settings store: name rewriting and text forms everywhere (tested
# natively), the registry itself in the Windows build.
list(APPEND ZYN_PORTABLE
  settings/reg_names.cpp
  settings/reg_text.cpp)
list(APPEND ZYN_WINDOWS
  settings/reg_values_win.cpp
  settings/reg_keys_win.cpp
  settings/reg_filetypes_win.cpp)
list(APPEND ZYN_WINDOWS_LIBS advapi32)
