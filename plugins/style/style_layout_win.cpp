// zynlib.dll exports its DIB calls but not the checked layout helpers
// behind them: compile those in here, with the exported names renamed so
// that nothing here stands in for the library's own exports.
#define ZYN_DIB_NumColors sty_layout_NumColors
#define ZYN_DIB_PaletteSize sty_layout_PaletteSize
#define ZYN_DIB_BitsToColors sty_layout_BitsToColors
#define ZYN_DIB_Info sty_layout_Info
#define ZYN_DIB_LockPtrs sty_layout_LockPtrs
#include "dib/dib_info.cpp"
#include "dib/image_open.cpp"
