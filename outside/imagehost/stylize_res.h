/* Resource ids of the host library's "Stylize" dialog. */
#ifndef LC_STYLIZE_RES_H
#define LC_STYLIZE_RES_H

#define IDD_STZ_FILTER 6400

#define IDC_STZ_LIST 100
#define IDC_STZ_GROUP 101
#define IDC_STZ_DEFAULTS 102
/* A slider row: label, trackbar, edit and up-down, at base + 0 to 3. */
#define IDC_STZ_AMOUNT 110
#define IDC_STZ_P1 120
#define IDC_STZ_P2 130
#define STZ_ROW_LABEL 0
#define STZ_ROW_TRACK 1
#define STZ_ROW_EDIT 2
#define STZ_ROW_SPIN 3
#define IDC_STZ_COLOR_LABEL 140
#define IDC_STZ_COLOR_SWATCH 141
#define IDC_STZ_COLOR 142

#endif
