/* Resource ids of the stylize plug-in: the editor template and its
   controls. */
#ifndef STYLE_RES_H
#define STYLE_RES_H

#define IDD_STY_EDITOR 6300

#define IDC_STY_TYPE 200
#define IDC_STY_PREVIEW 201
#define IDC_STY_LABEL1 202
#define IDC_STY_LABEL2 203
#define IDC_STY_LABEL3 204
#define IDC_STY_SCROLL1 205
#define IDC_STY_SCROLL2 206
#define IDC_STY_SCROLL3 207
#define IDC_STY_PREVIEW_SCROLL 209
#define IDC_STY_HELP 210
#define IDC_STY_DIRECTION 211
#define IDC_STY_COLOR 212

#endif
