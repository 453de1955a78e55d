// The image plug-in's entry points with any stored settings, any window
// flags, any DIB block in the window and any dialog answers: init reads
// the settings, the commands run through the common frame, exit writes
// the settings back.  The layout: 28 bytes of settings (two a value,
// 0xFFFF for absent), a flag byte, 8 commands of 12 bytes (the menu entry
// and the dialog's answer), then the block.  Nothing may read or
// write outside a block, leak, or leave a value out of its range.
#include <stdint.h>
#include <string.h>

#include "plugin.h"
#include "zynlib.h"

namespace {

const size_t kSettings = 28, kCommand = 12, kCommands = 8;

struct Fuzz {
    const uint8_t *settings;
    DWORD flags;
    HGLOBAL dib, undo;
    const uint8_t *answer;
    int field;
    UINT nextId;
};
Fuzz g;

int WINAPI quiet(HWND, LPCSTR, LPCSTR, UINT) { return IDOK; }

HGLOBAL get_hdib(void *, HWND) { return g.dib; }
HGLOBAL copy_hdib(void *, HWND) { return g.dib ? ZYN_DIB_Copy(g.dib) : nullptr; }
void replace_hdib(void *, HWND, HGLOBAL dib) {
    BITMAPINFOHEADER *h;
    BYTE *bits;
    if (!ZYN_DIB_LockPtrs(dib, &h, nullptr, &bits) || h->biCompression != BI_RGB) __builtin_trap();
    size_t stride = (((size_t)h->biBitCount * (size_t)h->biWidth + 31) >> 5) * 4;
    if ((size_t)(bits - (BYTE *)h) + stride * (size_t)h->biHeight > GlobalSize(dib)) __builtin_trap();
    GlobalUnlock(dib);
    if (g.undo) GlobalFree(g.undo);
    g.undo = g.dib;
    g.dib = dib;
}
int get_flag(void *, HWND, DWORD bit) { return (g.flags & bit) != 0; }
void set_info(void *, HWND, DWORD, DWORD) {}
void *get_palette(void *, HWND) { return (void *)1; }
HWND owner_window(void *, HWND) { return nullptr; }
ImgMenu reserve_menu(void *, int) { return (ImgMenu)&g; }
UINT reserve_menu_id(void *) { return g.nextId++; }
void show_help_text(void *, const char *) {}
void settings_key(void *, char *product, char *version) {
    strcpy(product, "Lumacast");
    strcpy(version, "3.50");
}
void progress_start(void *, HWND, const char *) {}
void progress_range(void *, int, int) {}
void progress_step(void *, int) {}
void progress_end(void *) {}
int append_item(void *, ImgMenu, UINT, const char *) { return 1; }
void enable_item(void *, ImgMenu, UINT, int) {}
int is_image_window(void *, HWND) { return 1; }
void *load_wait_cursor(void *) { return nullptr; }
void *set_cursor(void *, void *) { return nullptr; }
int register_class(void *, int) { return 1; }
void unregister_class(void *, int) {}
ImgKey open_settings(void *, const char *, const char *, const char *) { return (ImgKey)&g; }
// Fields are asked for in a fixed order; each takes the next pair.
int get_value(void *, ImgKey, const char *, int, DWORD *value) {
    const uint8_t *p = g.settings + 2 * (g.field++ % 14);
    if (p[0] == 0xFF && p[1] == 0xFF) return 0;
    *value = (DWORD)(int16_t)(p[0] | p[1] << 8);
    return 1;
}
void set_value(void *, ImgKey, const char *, int, DWORD) {}
int close_settings(void *, ImgKey) { return 1; }

LONG side(const uint8_t *p) { return (LONG)(p[0] | (p[1] & 1) << 8) - 4; }

int dialog(void *, int which, ImgPlugin *p, HWND, HWND, HGLOBAL, void *out) {
    const uint8_t *a = g.answer;
    switch (which) {
        case IMG_DIALOG_CROP: *(ImgCropParams *)out = {side(a), side(a + 2), side(a + 4), side(a + 6)}; break;
        case IMG_DIALOG_SCALE: *(ImgScaleParams *)out = {side(a), side(a + 2), a[4] & 1, 0}; break;
        case IMG_DIALOG_ROTATE:
            p->rotate.angle = (int)(int16_t)(a[0] | a[1] << 8) % 400;
            p->rotate.quality = a[2] & 1;
            p->rotate.background = ImgColor{a[3], a[4], a[5], a[6]};
            break;
        case IMG_DIALOG_FRAME: {
            ImgFrameRecord &r = p->frameRecord;
            r.left = a[0] & 63, r.right = a[1] & 63, r.top = a[2] & 63, r.bottom = a[3] & 63;
            r.style = a[4] % 3;
            r.fill = ImgFrameColor{a[5], a[6], a[7], a[8]};
            p->caption[0] = (a[9] & 1) ? 'x' : '\0';
            p->captionFlags = ImgCaptionFlags{a[10] & 1, (a[10] & 2) != 0, (a[10] & 4) != 0};
            break;
        }
        case IMG_DIALOG_TILE: *(ImgTileParams *)out = {a[0] % 5u, a[1] % 5u, a[2] & 1}; break;
        case IMG_DIALOG_MASK:
            *(ImgMaskParams *)out = {a[0] & 1, a[0] & 2, a[0] & 4, ImgColor{a[1], a[2], a[3], a[4]}};
            return a[5] & 1 ? 1 : IMG_DIALOG_NO_SHAPE;
    }
    return (a[10] & 0x80) ? 0 : 1;  // Cancel or OK
}

int shape_coverage(void *, LONG w, LONG h, HGLOBAL *coverage) {
    return img_mask_shape_coverage(IMG_MASK_FIRST_SHAPE + g.answer[6] % IMG_MASK_SHAPES, w, h, coverage);
}
void shape_release(void *) {}
int caption_coverage(void *, const ImgFrameRecord *, LONG w, LONG h, HGLOBAL *coverage) {
    return img_mask_shape_coverage(IMG_MASK_FIRST_SHAPE, w, h, coverage);
}

const ImgPlatform kPlatform = {
    nullptr,        get_hdib,         copy_hdib,       replace_hdib,    get_flag,       set_info,
    get_palette,    owner_window,     reserve_menu,    reserve_menu_id, show_help_text, settings_key,
    progress_start, progress_range,   progress_step,   progress_end,    append_item,    enable_item,
    is_image_window, load_wait_cursor, set_cursor,     register_class,  unregister_class, open_settings,
    get_value,      set_value,        close_settings,  dialog,          shape_coverage, shape_release,
    caption_coverage};

void check_settings(const ImgSettings &s) {
    if (s.scaleMeasure > 2 || s.scaleUnits > 3 || s.scaleQuality > 1 || s.frameStyle > 1 || s.chooseColor > 2 ||
        s.maskSelected >= IMG_MASK_SHAPES || s.customResX < 1 || s.customResY < 1 || !img_alignment_valid(s.alignment))
        __builtin_trap();
}

// Tiles of scaled frames grow fast: a run stops before its images take
// seconds each (the size checks are the same for larger ones).
bool too_large(HGLOBAL dib) {
    BITMAPINFOHEADER bi;
    return dib && ZYN_DIB_Info(dib, &bi) && (int64_t)bi.biWidth * bi.biHeight > (1 << 18);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const size_t head = kSettings + 1 + kCommand * kCommands;
    if (size < head) return 0;
    ZYN_ERR_SetErrorMethod(quiet);
    g = Fuzz{data, data[kSettings], nullptr, nullptr, nullptr, 0, 0x5000};
    size_t rest = size - head;
    if (rest) {
        g.dib = GlobalAlloc(GMEM_MOVEABLE, rest);
        memcpy(GlobalLock(g.dib), data + head, rest);
        GlobalUnlock(g.dib);
    }
    static ImgPlugin plugin;
    img_plugin_reset(&plugin, &kPlatform);
    if (img_plugin_init(&plugin, 0, nullptr)) {
        check_settings(plugin.settings);
        img_plugin_activate(&plugin, (HWND)&g, 1);
        for (size_t i = 0; i < kCommands; i++) {
            const uint8_t *c = data + kSettings + 1 + i * kCommand;
            g.answer = c + 1;
            LRESULT result;
            img_plugin_menu_handler(&plugin, plugin.commands[c[0] % IMG_COMMANDS].id, &result);
            if (too_large(g.dib)) break;
        }
        img_plugin_exit(&plugin);
    }
    if (g.dib) GlobalFree(g.dib);
    if (g.undo) GlobalFree(g.undo);
    return 0;
}
