/* The save-options panel added to the Save dialog (template 308). */
#ifndef LC_SAVE_PANEL_RES_H
#define LC_SAVE_PANEL_RES_H

#define IDD_SAVE_PANEL 308
#define IDC_SAVE_STC32 0x045F /* where the dialog puts its own controls */
#define IDC_SAVE_1BIT 0xF001
#define IDC_SAVE_4BIT 0xF002
#define IDC_SAVE_8BIT 0xF004
#define IDC_SAVE_16BIT 0xF008
#define IDC_SAVE_24BIT 0xF010
#define IDC_SAVE_32BIT 0xF020
#define IDC_SAVE_COLOR 0xF040
#define IDC_SAVE_GRAY 0xF080
#define IDC_SAVE_COMPRESSED 0xF100

#endif
