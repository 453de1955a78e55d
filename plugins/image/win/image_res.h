/* Resource ids of image.dll: its dialogs and their controls, the icon,
   the crop mover cursor. */
#ifndef IMAGE_RES_H
#define IMAGE_RES_H

#define IDI_IMG_ICON 600
#define IDC_IMG_MOVE 400

#define IDD_IMG_COLOR 8300
#define IDD_IMG_CROP 8301
#define IDD_IMG_TILE 8302
#define IDD_IMG_MASK 8303
#define IDD_IMG_ROTATE 8304
#define IDD_IMG_ALIGN 8305
#define IDD_IMG_FRAME 8306
#define IDD_IMG_SCALE 8307

/* Shared by several dialogs. */
#define IDC_IMG_WIDTH 99
#define IDC_IMG_HEIGHT 100
#define IDC_IMG_RESET 123
#define IDC_IMG_TOP 117
#define IDC_IMG_BOTTOM 118
#define IDC_IMG_LEFT 119
#define IDC_IMG_RIGHT 120
#define IDC_IMG_QUALITY 113
#define IDC_IMG_INVERT 141
#define IDC_IMG_ALPHA 153
#define IDC_IMG_COLOR_CHANNELS 154

/* 8300 */
#define IDC_IMG_COLOR_GRID 160

/* 8307 Scale Image */
#define IDC_SCL_ASPECT 101
#define IDC_SCL_MEASURE 102
#define IDC_SCL_MEASURE_PLAIN 103
#define IDC_SCL_UNITS 104
#define IDC_SCL_WIDTH_UNIT 106
#define IDC_SCL_HEIGHT_UNIT 107
#define IDC_SCL_CUSTOM_X 128
#define IDC_SCL_CUSTOM_Y 129
#define IDC_SCL_CUSTOM_X_LABEL 130
#define IDC_SCL_CUSTOM_Y_LABEL 131

/* 8304 Rotate */
#define IDC_ROT_CUSTOM 108
#define IDC_ROT_90 109
#define IDC_ROT_180 110
#define IDC_ROT_270 111
#define IDC_ROT_AMOUNT 112
#define IDC_ROT_SWATCH 137
#define IDC_ROT_COLOR 139

/* 8301 Crop */
#define IDC_CRP_PREVIEW 106
#define IDC_CRP_HSCROLL 126
#define IDC_CRP_VSCROLL 127
#define IDC_CRP_FIT 124
#define IDC_CRP_REAL 125

/* 8306 Frame/Caption, 8305 alignment */
#define IDC_FRM_PREVIEW 107
#define IDC_FRM_STYLE 122
#define IDC_FRM_SWATCH 133
#define IDC_FRM_CAPTION 134
#define IDC_FRM_FONT 135
#define IDC_FRM_ALIGN 136
#define IDC_FRM_COLOR 150
#define IDC_FRM_COLORS 151
#define IDC_ALN_TOP 142
#define IDC_ALN_VCENTER 143
#define IDC_ALN_BOTTOM 144
#define IDC_ALN_LEFT 145
#define IDC_ALN_HCENTER 146
#define IDC_ALN_RIGHT 147

/* 8302 Tile Image */
#define IDC_TIL_MIRROR 132

/* 8303 Mask Image */
#define IDC_MSK_NAMES 130
#define IDC_MSK_PREVIEW 131
#define IDC_MSK_COLOR 133
#define IDC_MSK_SWATCH 107

/* The custom controls' messages. */
#define IMG_CLASS_CROP_NAME "CropClass"
#define IMG_CLASS_COLOR_NAME "ColorCtrl"
#define IMG_CLASS_SWATCH_NAME "StatColorCtrl"
/* ColorCtrl: wParam the count of entries, lParam the RGBQUAD table; the
   selection is set by CCM_SETINDEX and read by CCM_GETINDEX.  It sends
   WM_COMMAND CCN_CHOSEN to its parent on a double click or Enter. */
#define CCM_SETTABLE (WM_USER + 1)
#define CCM_SETINDEX (WM_USER + 2)
#define CCM_GETINDEX (WM_USER + 3)
#define CCM_SETPALETTE (WM_USER + 4)
#define CCN_CHOSEN 1
/* StatColorCtrl: wParam the color (red lowest). */
#define SCM_SETCOLOR (WM_USER + 1)
#define SCM_GETCOLOR (WM_USER + 2)

#endif
