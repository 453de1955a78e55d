/* The "Icon Types/Sizes" dialog and its controls. */
#ifndef LC_CODECS_ICO_DIALOG_RES_H
#define LC_CODECS_ICO_DIALOG_RES_H

#define IDD_ICO_TYPES 309
#define IDC_ICO_LIST 339
#define IDC_ICO_MASK 350

#endif
