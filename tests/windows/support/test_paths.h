// Paths the build hands to the Windows tests as Unix paths, as Wine sees
// them (drive Z: is the Unix root).
#ifndef LC_TEST_PATHS_H
#define LC_TEST_PATHS_H

#include <string>

inline std::string windows_path(std::string p) {
  if (!p.empty() && p[0] == '/') p = "Z:" + p;
  for (char &c : p)
    if (c == '/') c = '\\';
  return p;
}

#endif
