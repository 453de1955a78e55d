# Depth and gray conversions, scaling and palette matching.
list(APPEND ZYN_PORTABLE
  dib/depth_rows.cpp
  dib/gray.cpp
  dib/increase.cpp
  dib/alpha.cpp
  dib/scale_stretch.cpp
  dib/scale_fixed.cpp
  dib/scale_halfstep.cpp
  dib/palmatch_table.cpp
  dib/palmatch_cut.cpp
  dib/palmatch_transform.cpp)
list(APPEND ZYN_WINDOWS
  dib/palmatch_cut_win.cpp
  dib/palmatch_fastblt_win.cpp)
