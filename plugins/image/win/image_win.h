/* image.dll's Windows side, shared by its files: the one plug-in state,
   the dialogs behind the platform table, the exported procedures and the
   small helpers every dialog uses. */
#ifndef IMAGE_WIN_H
#define IMAGE_WIN_H

#include <windows.h>

#include "image_res.h"
#include "plugin.h"

#define IMG_EXPORT extern "C" __declspec(dllexport)

extern HINSTANCE g_img_module;
extern ImgPlugin g_img;
extern const ImgPlatform g_img_platform;

/* The dialogs (dialog files): 1 on OK with their choice stored. */
int img_crop_dialog(HWND owner, HWND window, HGLOBAL dib, ImgCropParams *out);
int img_scale_dialog(HWND owner, HGLOBAL dib, ImgScaleParams *out);
int img_rotate_dialog(HWND owner, HWND window, HGLOBAL dib);
int img_frame_dialog(HWND owner, HWND window, HGLOBAL dib);
int img_tile_dialog(HWND owner, ImgTileParams *out);
/* 1 with a shape chosen (kept until img_shape_release), IMG_DIALOG_NO_SHAPE
   without one, 0 on Cancel. */
int img_mask_dialog(HWND owner, HWND window, HGLOBAL dib, ImgMaskParams *out);

/* mask_shape_win.cpp: the chosen shape's metafile, written from its
   resource to a temporary file ("dfh32" in the temporary folder) and
   loaded from there.  Each new choice and the release delete the file. */
BOOL img_shape_choose(UINT id);
HMETAFILE img_shape_metafile(void);
void img_shape_release(void);
/* The path of the file the chosen shape came from ("" for none). */
const char *img_shape_file(void);
/* A metafile played over width x height into a 1-bit coverage (0 where
   it painted black); IMG_ status. */
int img_metafile_coverage(HMETAFILE mf, LONG width, LONG height, HGLOBAL *coverage);
void img_play_metafile(HDC dc, HMETAFILE mf, int x, int y, int width, int height);
/* A 1-bit section of black (0) and white for coverages, and the DIB made
   from its rows. */
HBITMAP img_mono_section(HDC dc, LONG width, LONG height, void **bits);
HGLOBAL img_mono_dib(const void *bits, LONG width, LONG height, size_t stride);

/* caption_win.cpp */
int img_caption_coverage(const ImgFrameRecord *r, LONG width, LONG height, HGLOBAL *coverage);

/* Exported procedures. */
IMG_EXPORT INT_PTR CALLBACK ScaleProc(HWND d, UINT msg, WPARAM wp, LPARAM lp);
IMG_EXPORT INT_PTR CALLBACK RotateProc(HWND d, UINT msg, WPARAM wp, LPARAM lp);
IMG_EXPORT INT_PTR CALLBACK FrameProc(HWND d, UINT msg, WPARAM wp, LPARAM lp);
IMG_EXPORT INT_PTR CALLBACK CropProc(HWND d, UINT msg, WPARAM wp, LPARAM lp);
IMG_EXPORT LRESULT CALLBACK CRP_ClassProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
IMG_EXPORT INT_PTR CALLBACK TIL_TileProc(HWND d, UINT msg, WPARAM wp, LPARAM lp);
IMG_EXPORT INT_PTR CALLBACK MAS_MaskProc(HWND d, UINT msg, WPARAM wp, LPARAM lp);
IMG_EXPORT INT_PTR CALLBACK COL_ChooseColorProc(HWND d, UINT msg, WPARAM wp, LPARAM lp);
IMG_EXPORT LRESULT CALLBACK COL_ColorCtrlProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
IMG_EXPORT LRESULT CALLBACK STA_StatColorCtrlProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
IMG_EXPORT LRESULT CALLBACK FRM_StaticHookProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
IMG_EXPORT INT_PTR CALLBACK FRM_AlignProc(HWND d, UINT msg, WPARAM wp, LPARAM lp);
IMG_EXPORT HGLOBAL WINAPI IMG_FrameDIB(HGLOBAL dib, const ImgFrameRecord *record, BOOL invertOff, BOOL alpha,
                                       BOOL color, DWORD reserved);
IMG_EXPORT BOOL WINAPI FRA_ChooseFont(HWND owner, LOGFONTA *font);
IMG_EXPORT BOOL WINAPI FRA_ChooseAlign(HWND owner, WORD *alignment);
IMG_EXPORT BOOL WINAPI COL_ChooseColor(HWND owner, HGLOBAL dib, HPALETTE palette, WORD *index, BYTE *red,
                                       BYTE *green, BYTE *blue);

/* dialog_util_win.cpp */
/* An edit's text as an unsigned number; FALSE when it holds anything
   but digits (or nothing) or passes max. */
BOOL img_edit_number(HWND d, int id, DWORD max, DWORD *value);
/* Writes a number without the edit's change handler reacting (the
   caller's guard is set meanwhile) and with its selection kept. */
void img_edit_show(HWND d, int id, const char *text, int *guard);
void img_edit_show_number(HWND d, int id, DWORD value, int *guard);
/* Adds the plug-in's strings to a combo box. */
void img_combo_fill(HWND d, int id, const UINT *ids, int count, int selected);
void img_check(HWND d, int id, BOOL on);
BOOL img_checked(HWND d, int id);
void img_show(HWND d, int id, BOOL shown);
void img_enable(HWND d, int id, BOOL on);
/* The swatch shows an ImgColor. */
void img_swatch_show(HWND d, int id, const ImgColor *c);
/* Runs COL_ChooseColor for an ImgColor of the image; TRUE when chosen. */
BOOL img_choose_color(HWND owner, HGLOBAL dib, HPALETTE palette, ImgColor *c);
/* The dialog's caption from the string table (the template's is the same
   text, for the resource editor). */
void img_dialog_caption(HWND d, UINT id);
/* Runs a dialog of the DLL with its procedure and parameter. */
INT_PTR img_dialog_run(HWND owner, int id, DLGPROC proc, LPARAM param);

#endif
