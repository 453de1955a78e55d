#include "fake_host.h"

#include <string.h>

#include "zynlib.h"

namespace {

FakeHost *g_host;

FakeHost &H(void *c) { return *static_cast<FakeHost *>(c); }
std::string num(unsigned long v) { return std::to_string(v); }

HGLOBAL get_hdib(void *c, HWND w) {
    FakeWindow &f = H(c).windows[w];
    if (f.getsBeforeGone == 0) return nullptr;
    if (f.getsBeforeGone > 0) f.getsBeforeGone--;
    return f.dib;
}
HGLOBAL copy_hdib(void *c, HWND w) {
    H(c).calls.push_back("copy");
    return H(c).windows[w].dib ? ZYN_DIB_Copy(H(c).windows[w].dib) : nullptr;
}
void replace_hdib(void *c, HWND w, HGLOBAL dib) {
    FakeWindow &f = H(c).windows[w];
    f.undo.push_back(f.dib);
    f.dib = dib;
    H(c).calls.push_back("replace");
}
int get_flag(void *c, HWND w, DWORD bit) {
    H(c).calls.push_back("flag " + num(bit));
    return (H(c).windows[w].flags & bit) != 0;
}
void set_info(void *c, HWND w, DWORD offset, DWORD value) {
    H(c).windows[w].depth = value;
    H(c).calls.push_back("info " + num(offset) + "=" + num(value));
}
void *get_palette(void *c, HWND w) { return H(c).windows[w].palette ? (void *)1 : nullptr; }
HWND owner_window(void *, HWND) { return (HWND)0x77; }
ImgMenu reserve_menu(void *c, int) { return H(c).menuAvailable ? (ImgMenu)&H(c).menu : nullptr; }
UINT reserve_menu_id(void *c) {
    FakeHost &h = H(c);
    if (h.idsLeft-- <= 0) return 0;
    UINT id = h.nextId;
    h.nextId += h.idStep;
    return id;
}
void show_help_text(void *c, const char *text) { H(c).calls.push_back(std::string("help ") + text); }
void settings_key(void *c, char *product, char *version) {
    strcpy(product, H(c).product.c_str());
    strcpy(version, "3.50");
}
void progress_start(void *c, HWND owner, const char *caption) {
    H(c).calls.push_back(std::string("start ") + caption + (owner == (HWND)0x77 ? " (owner)" : " (frame)"));
}
void progress_range(void *c, int low, int high) { H(c).calls.push_back("range " + num(low) + "-" + num(high)); }
void progress_step(void *c, int pos) { H(c).calls.push_back("step " + num(pos)); }
void progress_end(void *c) { H(c).calls.push_back("end"); }
int append_item(void *c, ImgMenu, UINT id, const char *text) {
    H(c).menu.push_back({id, text ? text : ""});
    return 1;
}
void enable_item(void *c, ImgMenu, UINT id, int on) {
    for (FakeItem &i : H(c).menu)
        if (i.id == id) i.enabled = on != 0;
}
int is_image_window(void *c, HWND w) { return H(c).windows[w].imageClass; }
void *load_wait_cursor(void *) { return (void *)0xC0; }
void *set_cursor(void *c, void *cursor) {
    H(c).calls.push_back(cursor == (void *)0xC0 ? "wait" : "cursor back");
    return (void *)0xA0;
}
int register_class(void *c, int which) {
    H(c).calls.push_back("register " + num(which));
    return H(c).classFailures[which]-- > 0 ? 0 : 1;
}
void unregister_class(void *c, int which) { H(c).calls.push_back("unregister " + num(which)); }
ImgKey open_settings(void *c, const char *product, const char *version, const char *section) {
    H(c).calls.push_back(std::string("open ") + product + "/" + version + "/" + section);
    return product[0] ? (ImgKey)&H(c).store : nullptr;
}
const char *type_name(int type) {
    static const char *names[] = {"bool", "word", "int", "dword"};
    return names[type];
}
int get_value(void *c, ImgKey, const char *name, int type, DWORD *value) {
    H(c).calls.push_back(std::string("get ") + name + " " + type_name(type));
    auto at = H(c).store.find(name);
    if (at == H(c).store.end()) return 0;
    *value = at->second;
    return 1;
}
void set_value(void *c, ImgKey, const char *name, int type, DWORD value) {
    H(c).calls.push_back(std::string("set ") + name + " " + type_name(type) + "=" + num(value));
    H(c).store[name] = value;
    H(c).stored[name] = type;
}
int close_settings(void *c, ImgKey) {
    H(c).calls.push_back("close");
    return 1;
}
int run_dialog(void *c, int which, ImgPlugin *p, HWND, HWND, HGLOBAL dib, void *out) {
    H(c).calls.push_back("dialog " + num(which));
    return H(c).dialog ? H(c).dialog(which, p, dib, out) : 0;
}
int shape_coverage(void *c, LONG w, LONG h, HGLOBAL *coverage) {
    if (H(c).coverageStatus != IMG_OK) return H(c).coverageStatus;
    return img_mask_shape_coverage((UINT)H(c).shapeId, w, h, coverage);
}
void shape_release(void *c) { H(c).calls.push_back("release shape"); }
// The caption as a filled box over the top left quarter.
int caption_coverage(void *c, const ImgFrameRecord *, LONG w, LONG h, HGLOBAL *coverage) {
    if (H(c).coverageStatus != IMG_OK) return H(c).coverageStatus;
    HGLOBAL dib = nullptr;  // an 8-bit raster of the size, painted over below
    int status = img_mask_shape_coverage(IMG_MASK_FIRST_SHAPE + 1, w, h, &dib);
    if (status != IMG_OK) return status;
    BITMAPINFOHEADER *bi;
    RGBQUAD *t;
    BYTE *bits;
    ZYN_DIB_LockPtrs(dib, &bi, &t, &bits);
    size_t stride = ((size_t)w + 3) & ~(size_t)3;
    for (LONG y = 0; y < h; y++)
        for (LONG x = 0; x < w; x++) bits[(size_t)y * stride + x] = (x < w / 2 && y >= h / 2) ? 0 : 255;
    GlobalUnlock(dib);
    *coverage = dib;
    return IMG_OK;
}

int WINAPI record_box(HWND, LPCSTR text, LPCSTR, UINT) {
    if (g_host) g_host->boxes.push_back(text ? text : "");
    return IDOK;
}

}  // namespace

FakeHost::FakeHost() {
    platform = ImgPlatform{this,           get_hdib,        copy_hdib,        replace_hdib,   get_flag,
                           set_info,       get_palette,     owner_window,     reserve_menu,   reserve_menu_id,
                           show_help_text, settings_key,    progress_start,   progress_range, progress_step,
                           progress_end,   append_item,     enable_item,      is_image_window, load_wait_cursor,
                           set_cursor,     register_class,  unregister_class, open_settings,  get_value,
                           set_value,      close_settings,  run_dialog,       shape_coverage, shape_release,
                           caption_coverage};
    img_plugin_reset(&plugin, &platform);
    g_host = this;
    ZYN_ERR_SetErrorMethod(record_box);
}

FakeHost::~FakeHost() {
    for (auto &w : windows) {
        if (w.second.dib) GlobalFree(w.second.dib);
        for (HGLOBAL u : w.second.undo)
            if (u) GlobalFree(u);
    }
    ZYN_ERR_SetErrorMethod(nullptr);
    g_host = nullptr;
}

HWND FakeHost::add_window(HGLOBAL dib, DWORD flags) {
    HWND w = (HWND)(uintptr_t)(0x100 + windows.size());
    windows[w].dib = dib;
    windows[w].flags = flags;
    return w;
}

int FakeHost::init() {
    int ok = img_plugin_init(&plugin, 7, (HWND)0x55);
    clear();
    return ok;
}

std::vector<std::string> FakeHost::calls_of(const std::string &prefix) const {
    std::vector<std::string> out;
    for (const std::string &c : calls)
        if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
    return out;
}
