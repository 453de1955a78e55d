/* Quality levels for saves without the sheet and for the sheet's slider:
   luminance, chrominance, subsampling (0 "1/1/1", 1 "2/1/1", 2 "4/1/1"). */
#include "kojpeg.h"

static const JpegLevel LEVELS[KOJPEG_LEVELS] = {
    {8, 10, 0},  {11, 13, 0}, {14, 16, 0}, {16, 18, 1}, {20, 22, 1}, {22, 26, 1}, {24, 28, 1},
    {24, 28, 2}, {28, 32, 2}, {30, 34, 2}, {34, 38, 2}, {38, 32, 2}, {42, 46, 2}, {48, 52, 2},
    {54, 56, 2}, {60, 62, 2}, {66, 68, 2}, {74, 74, 2}, {82, 82, 2}, {90, 90, 2},
};

extern "C" const JpegLevel *kojpeg_level(unsigned level) {
    return &LEVELS[level < KOJPEG_LEVELS ? level : KOJPEG_LEVELS - 1];
}
