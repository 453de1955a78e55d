// The platform table of the DLL: the host library's RQ_ services, USER's
// menus, cursors and classes, the settings store of zynlib, the dialogs.
#include <string.h>

#include "image_win.h"
#include "plugins/hostapi/hostapi.h"
#include "zynlib.h"

namespace {

HGLOBAL get_hdib(void *, HWND w) { return RQ_GetHDib(w); }
HGLOBAL copy_hdib(void *, HWND w) { return RQ_CopyHDib(w); }
void replace_hdib(void *, HWND w, HGLOBAL dib) { RQ_ReplaceHDib(w, dib); }
int get_flag(void *, HWND w, DWORD bit) { return RQ_GetFlag(w, bit); }
void set_info(void *, HWND w, DWORD offset, DWORD value) { RQ_SetInfo(w, offset, value); }
void *get_palette(void *, HWND w) { return RQ_GetPalette(w); }
HWND owner_window(void *, HWND w) { return RQ_GetOwnerWindow(w); }
ImgMenu reserve_menu(void *, int count) { return RQ_ReserveMenu(count); }
UINT reserve_menu_id(void *) { return RQ_ReserveMenuId(); }
void show_help_text(void *, const char *text) { RQ_ShowHelpText(text); }
void settings_key(void *, char *product, char *version) { RQ_GetSettingsKey(0, product, version); }
void progress_start(void *, HWND owner, const char *caption) { RQ_ProgressStart(owner, caption); }
void progress_range(void *, int low, int high) { RQ_ProgressRange(low, high); }
void progress_step(void *, int position) { RQ_ProgressStep(position); }
void progress_end(void *) { RQ_ProgressEnd(); }

int append_item(void *, ImgMenu menu, UINT id, const char *text) {
    return text ? AppendMenuA((HMENU)menu, MF_STRING, id, text) : AppendMenuA((HMENU)menu, MF_SEPARATOR, 0, NULL);
}

void enable_item(void *, ImgMenu menu, UINT id, int on) {
    EnableMenuItem((HMENU)menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
}

int is_image_window(void *, HWND w) {
    char name[33] = "";
    GetClassNameA(w, name, sizeof name);
    return strcmp(name, "GenericWClass") == 0;
}

void *load_wait_cursor(void *) { return LoadCursorA(NULL, (LPCSTR)IDC_WAIT); }
void *set_cursor(void *, void *cursor) { return SetCursor((HCURSOR)cursor); }

struct ClassInfo {
    const char *name;
    WNDPROC proc;
    int extra;
    LPCSTR cursor;
};
const ClassInfo kClasses[IMG_CLASSES] = {
    {IMG_CLASS_CROP_NAME, CRP_ClassProc, (int)sizeof(LONG_PTR), (LPCSTR)IDC_ARROW},
    {IMG_CLASS_COLOR_NAME, COL_ColorCtrlProc, (int)sizeof(LONG_PTR), (LPCSTR)IDC_ARROW},
    {IMG_CLASS_SWATCH_NAME, STA_StatColorCtrlProc, (int)sizeof(LONG_PTR), (LPCSTR)IDC_ARROW},
};

int register_class(void *, int which) {
    const ClassInfo &c = kClasses[which];
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = c.proc;
    wc.cbWndExtra = c.extra;
    wc.hInstance = g_img_module;
    wc.hCursor = LoadCursorA(NULL, c.cursor);
    wc.lpszClassName = c.name;
    return RegisterClassA(&wc) != 0;
}

void unregister_class(void *, int which) { UnregisterClassA(kClasses[which].name, g_img_module); }

// The store rewrites value names in place: each call gets its own copy.
struct Name {
    char text[32];
    explicit Name(const char *n) { lstrcpynA(text, n, sizeof text); }
};

ImgKey open_settings(void *, const char *product, const char *version, const char *section) {
    return product[0] ? ZYN_REG_OpenSettings(product, version, section) : NULL;
}

int get_value(void *, ImgKey key, const char *name, int type, DWORD *value) {
    HKEY k = (HKEY)key;
    Name n(name);
    switch (type) {
        case IMG_VALUE_BOOL: {
            BOOL v;
            if (!ZYN_REG_GetValueBool(k, n.text, &v)) return 0;
            *value = (DWORD)v;
            return 1;
        }
        case IMG_VALUE_WORD: {
            WORD v;
            if (!ZYN_REG_GetValueWord(k, n.text, &v)) return 0;
            *value = v;
            return 1;
        }
        case IMG_VALUE_INT: {
            int v;
            if (!ZYN_REG_GetValueInt(k, n.text, &v)) return 0;
            *value = (DWORD)v;
            return 1;
        }
        default: return ZYN_REG_GetValueDWord(k, n.text, value);
    }
}

void set_value(void *, ImgKey key, const char *name, int type, DWORD value) {
    Name n(name);
    if (type == IMG_VALUE_INT)
        ZYN_REG_SetValueInt((HKEY)key, n.text, (int)value);
    else
        ZYN_REG_SetValueDWord((HKEY)key, n.text, value);
}

int close_settings(void *, ImgKey key) {
    ZYN_REG_CloseSettings((HKEY)key);
    return 1;
}

int dialog(void *, int which, ImgPlugin *, HWND owner, HWND w, HGLOBAL dib, void *out) {
    switch (which) {
        case IMG_DIALOG_CROP: return img_crop_dialog(owner, w, dib, (ImgCropParams *)out);
        case IMG_DIALOG_SCALE: return img_scale_dialog(owner, dib, (ImgScaleParams *)out);
        case IMG_DIALOG_ROTATE: return img_rotate_dialog(owner, w, dib);
        case IMG_DIALOG_FRAME: return img_frame_dialog(owner, w, dib);
        case IMG_DIALOG_TILE: return img_tile_dialog(owner, (ImgTileParams *)out);
        case IMG_DIALOG_MASK: return img_mask_dialog(owner, w, dib, (ImgMaskParams *)out);
        default: return 0;
    }
}

int shape_coverage(void *, LONG width, LONG height, HGLOBAL *coverage) {
    HMETAFILE mf = img_shape_metafile();
    if (!mf) return IMG_BAD_PARAMS;
    return img_metafile_coverage(mf, width, height, coverage);
}

void shape_release(void *) { img_shape_release(); }

int caption_coverage(void *, const ImgFrameRecord *r, LONG width, LONG height, HGLOBAL *coverage) {
    return img_caption_coverage(r, width, height, coverage);
}

}  // namespace

extern const ImgPlatform g_img_platform = {
    NULL,
    get_hdib,
    copy_hdib,
    replace_hdib,
    get_flag,
    set_info,
    get_palette,
    owner_window,
    reserve_menu,
    reserve_menu_id,
    show_help_text,
    settings_key,
    progress_start,
    progress_range,
    progress_step,
    progress_end,
    append_item,
    enable_item,
    is_image_window,
    load_wait_cursor,
    set_cursor,
    register_class,
    unregister_class,
    open_settings,
    get_value,
    set_value,
    close_settings,
    dialog,
    shape_coverage,
    shape_release,
    caption_coverage,
};
