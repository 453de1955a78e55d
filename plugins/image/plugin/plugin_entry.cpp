// The entry points' rules: the version check, init with its menu and
// classes, which window is active, the menu's state and the commands and
// help lines of the plug-in's id range.
#include <string.h>

#include "image_strings.h"
#include "plugin.h"
#include "zynlib.h"

extern "C" const DWORD img_barred_flags[IMG_BARRED_FLAGS_COUNT] = {0x40, 0x200, 0x400};

namespace {

const ImgCommand kTable[IMG_COMMANDS] = {
    {0, IDS_IMG_HELP_INVERT, IDS_IMG_MENU_INVERT, img_run_invert},
    {0, IDS_IMG_HELP_FLIP, IDS_IMG_MENU_FLIP, img_run_flip},
    {0, IDS_IMG_HELP_MIRROR, IDS_IMG_MENU_MIRROR, img_run_mirror},
    {0, 0, 0, nullptr},
    {0, IDS_IMG_HELP_CROP, IDS_IMG_MENU_CROP, img_run_crop},
    {0, IDS_IMG_HELP_SCALE, IDS_IMG_MENU_SCALE, img_run_scale},
    {0, IDS_IMG_HELP_ROTATE, IDS_IMG_MENU_ROTATE, img_run_rotate},
    {0, IDS_IMG_HELP_FRAME, IDS_IMG_MENU_FRAME, img_run_frame},
    {0, IDS_IMG_HELP_TILE, IDS_IMG_MENU_TILE, img_run_tile},
    {0, IDS_IMG_HELP_MASK, IDS_IMG_MENU_MASK, img_run_mask},
};

const size_t kMenuText = 128;

void forget_ids(ImgPlugin *p) {
    for (ImgCommand &c : p->commands) c.id = 0;
}

bool barred(const ImgPlugin *p, HWND w) {
    for (DWORD flag : img_barred_flags)
        if (p->platform->get_flag(p->platform->context, w, flag)) return true;
    return false;
}

// The range of the table's ids: entry 0 to entry 9 (0, 0 before init).
bool in_range(const ImgPlugin *p, UINT id) {
    UINT first = p->commands[0].id, last = p->commands[IMG_COMMANDS - 1].id;
    return first && last && id >= first && id <= last;
}

const ImgCommand *command_of(const ImgPlugin *p, UINT id) {
    for (const ImgCommand &c : p->commands)
        if (c.run && c.id == id) return &c;
    return nullptr;
}

bool fill_menu(ImgPlugin *p) {
    const ImgPlatform *pf = p->platform;
    for (ImgCommand &c : p->commands) {
        if (!c.run) {
            pf->append_item(pf->context, p->menu, 0, nullptr);
            continue;
        }
        c.id = pf->reserve_menu_id(pf->context);
        if (!c.id) return false;
        char text[kMenuText];
        img_text(c.menuId, text, sizeof text);
        pf->append_item(pf->context, p->menu, c.id, text);
    }
    return true;
}

// A class left registered by an earlier load of the DLL is replaced.
bool register_classes(ImgPlugin *p) {
    const ImgPlatform *pf = p->platform;
    for (int which = 0; which < IMG_CLASSES; which++) {
        if (pf->register_class(pf->context, which)) continue;
        pf->unregister_class(pf->context, which);
        if (!pf->register_class(pf->context, which)) return false;
    }
    return true;
}

}  // namespace

extern "C" void img_plugin_reset(ImgPlugin *p, const ImgPlatform *platform) {
    memset(p, 0, sizeof *p);
    p->platform = platform;
    memcpy(p->commands, kTable, sizeof kTable);
    img_settings_default(&p->settings);
    p->rotate.angle = 180;
    p->rotate.quality = IMG_QUALITY_LOW;
    p->rotate.background = ImgColor{0, 192, 192, 192};
    img_frame_record_default(&p->frameRecord);
    p->frameRecord.caption = p->caption;
    p->captionFlags = ImgCaptionFlags{0, 1, 1};
    p->maskColor = ImgColor{0, 192, 192, 192};
}

extern "C" int img_plugin_version(ImgPlugin *, DWORD version) {
    WORD v = (WORD)(version & 0xFFFF);
    if (v == IMG_VERSION_WORD) return 1;
    char text[256];
    img_text((v >> 8) != (IMG_VERSION_WORD >> 8) ? IDS_IMG_BAD_VERSION_MAJOR : IDS_IMG_BAD_VERSION_MINOR, text,
             sizeof text);
    ZYN_ERR_Error(text, "", nullptr, MB_OK);
    return 0;
}

extern "C" int img_plugin_init(ImgPlugin *p, ULONG_PTR hostValue, HWND frame) {
    const ImgPlatform *pf = p->platform;
    p->hostValue = hostValue;
    p->frame = frame;
    p->active = nullptr;
    forget_ids(p);
    p->menu = pf->reserve_menu(pf->context, 1);
    if (!p->menu) {
        img_say(IDS_IMG_NO_POPUP);
        return 0;
    }
    if (!fill_menu(p)) {
        p->menu = nullptr;
        forget_ids(p);
        img_say(IDS_IMG_NO_MENU_ID);
        return 0;
    }
    p->waitCursor = pf->load_wait_cursor(pf->context);
    img_settings_read(p);
    p->frameRecord.style = p->settings.frameStyle;
    p->frameRecord.chosenColor = p->settings.chooseColor;
    p->frameRecord.alignment = p->settings.alignment;
    if (!register_classes(p)) {
        p->menu = nullptr;
        forget_ids(p);
        img_say(IDS_IMG_CANNOT_LOAD);
        return 0;
    }
    return 1;
}

// A window that goes or loses the focus while another one is active (the
// host tells of every window that closes) leaves the active one as it is.
extern "C" int img_plugin_activate(ImgPlugin *p, HWND window, DWORD activating) {
    const ImgPlatform *pf = p->platform;
    if ((activating & 0xFFFF) == 0) {
        if (window == p->active) p->active = nullptr;
        return 1;
    }
    bool opens = window && !barred(p, window) && pf->is_image_window(pf->context, window);
    p->active = opens ? window : nullptr;
    return 1;
}

extern "C" int img_plugin_menu_init(ImgPlugin *p, ImgMenu menu) {
    const ImgPlatform *pf = p->platform;
    bool on = !p->busy && p->active && pf->get_hdib(pf->context, p->active) && !barred(p, p->active);
    for (const ImgCommand &c : p->commands)
        if (c.id) pf->enable_item(pf->context, menu, c.id, on);
    return 1;
}

extern "C" int img_plugin_menu_handler(ImgPlugin *p, DWORD commandId, LRESULT *result) {
    UINT id = commandId & 0xFFFF;
    if (!p->active || !in_range(p, id)) return 0;
    const ImgCommand *c = command_of(p, id);
    if (!c) return 0;
    // A command chosen while another one pumps the interface is dropped.
    if (!p->busy) {
        p->busy = 1;
        c->run(p, p->active);
        p->busy = 0;
    }
    if (result) *result = 1;
    return IMG_HANDLED;
}

extern "C" int img_plugin_help_handler(ImgPlugin *p, DWORD commandId, DWORD flags, LRESULT *result) {
    UINT id = commandId & 0xFFFF;
    if ((flags & 0xFFFF) != 0 || !in_range(p, id)) return 0;
    const ImgCommand *c = command_of(p, id);
    if (!c) return 0;
    char text[kMenuText];
    img_text(c->helpId, text, sizeof text);
    p->platform->show_help_text(p->platform->context, text);
    if (result) *result = 1;
    return IMG_HANDLED;
}

extern "C" int img_plugin_exit(ImgPlugin *p) {
    int closed = img_settings_write(p);
    const ImgPlatform *pf = p->platform;
    for (int which = 0; which < IMG_CLASSES; which++) pf->unregister_class(pf->context, which);
    p->menu = nullptr;
    p->active = nullptr;
    forget_ids(p);
    return closed;
}
