/* Resource and command ids of the lumacast program.  Shared by the
   resource script and the C++ code; keep it preprocessor-only. */
#ifndef LUMACAST_RESOURCE_H
#define LUMACAST_RESOURCE_H

#define IDI_FRAME 400 /* frame window icon */
#define IDI_IMAGE 401 /* image window icon */
#define IDR_ACCEL 500 /* accelerator table */
#define FRAME_MENU_NAME "FrameMenu"

#define ID_MDICLIENT 3244
#define IDM_FIRSTCHILD 2320 /* first entry of the MDI window list */

/* File */
#define IDM_NEW 256
#define IDM_OPEN 257
#define IDM_SAVE 258
#define IDM_SAVEAS 259
#define IDM_BATCH 260
#define IDM_PRINT 261
#define IDM_PRINTSETUP 262
#define IDM_SETTINGS 263
#define IDM_EXIT 264
#define IDM_CLOSE 265

/* Edit */
#define IDM_UNDO 512
#define IDM_CUT 513
#define IDM_COPY 514
#define IDM_PASTE 515
#define IDM_DELETE 516
#define IDM_PASTEPAL 517

/* Capture */
#define IDM_CAP_ACTIVEWND 768
#define IDM_CAP_ACTIVEAPP 769
#define IDM_CAP_SCREEN 770
#define IDM_CAP_RECT 771
#define IDM_CAP_UNDERMOUSE 772
#define IDM_CAP_OPTIONS 773

/* Colors */
#define IDM_COLOR 1280
#define IDM_GRAY 1281
#define IDM_MONO_FLAT 1809
#define IDM_MONO_FLATDITHER 1810
#define IDM_C16_INCREASE 1824
#define IDM_C16_FLAT 1825
#define IDM_C16_OPT 1826
#define IDM_C16_FLATDITHER 1827
#define IDM_C16_OPTDITHER 1828
#define IDM_C256_INCREASE 1840
#define IDM_C256_FLAT 1841
#define IDM_C256_OPT 1842
#define IDM_C256_FLATDITHER 1843
#define IDM_C256_OPTDITHER 1844
#define IDM_B16_INCREASE 1856
#define IDM_B16_FLAT 1857
#define IDM_B16_FLATDITHER 1858
#define IDM_B24_DECREASE 1872
#define IDM_B24_INCREASE 1873
#define IDM_B32_OPAQUE 1878
#define IDM_B32_TRANSPARENT 1879

/* Window */
#define IDM_TILE 2305
#define IDM_CASCADE 2306
#define IDM_CLOSEALL 2307
#define IDM_ARRANGE 2308

/* Help */
#define IDM_HELP_INDEX 2560
#define IDM_HELP_USING 2561
#define IDM_SYSINFO 2562
#define IDM_ABOUT 2563

#endif
