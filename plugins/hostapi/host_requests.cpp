#include "plugins/hostapi/host_requests.h"

#include <stdio.h>
#include <string.h>

#define KEY_TEXT 64

static LRESULT send(const HostLink *l, UINT n, HostParamBlock *b) {
    if (!l || !l->send) return 0;
    return l->send(l->context, HM_BASE + n, b);
}

static LRESULT ask(const HostLink *l, UINT n, HWND w) {
    HostParamBlock b = {};
    b.field[HPB_WINDOW] = (ULONG_PTR)w;
    return send(l, n, &b);
}

static LRESULT tell(const HostLink *l, UINT n, ULONG_PTR f8, ULONG_PTR f9) {
    HostParamBlock b = {};
    b.field[HPB_ARG8] = f8;
    b.field[HPB_ARG9] = f9;
    return send(l, n, &b);
}

/* Numbers cross the block as 32-bit words, as the plug-ins wrote them. */
static ULONG_PTR word(long v) { return (ULONG_PTR)(DWORD)v; }

extern "C" HGLOBAL rq_get_hdib(const HostLink *l, HWND w) { return (HGLOBAL)ask(l, HR_GET_IMAGE, w); }
extern "C" HGLOBAL rq_copy_hdib(const HostLink *l, HWND w) { return (HGLOBAL)ask(l, HR_COPY_IMAGE, w); }
extern "C" HANDLE rq_get_palette(const HostLink *l, HWND w) { return (HANDLE)ask(l, HR_GET_PALETTE, w); }

extern "C" void rq_replace_hdib(const HostLink *l, HWND w, HGLOBAL dib) {
    HostParamBlock b = {};
    b.field[HPB_WINDOW] = (ULONG_PTR)w;
    b.field[HPB_DIB] = (ULONG_PTR)dib;
    send(l, HR_REPLACE_IMAGE, &b);
}

extern "C" int rq_get_flag(const HostLink *l, HWND w, DWORD bits) {
    HostParamBlock b = {};
    b.field[HPB_WINDOW] = (ULONG_PTR)w;
    b.field[HPB_ARG8] = bits;
    return send(l, HR_TEST_FLAGS, &b) != 0;
}

extern "C" void rq_set_info(const HostLink *l, HWND w, DWORD offset, DWORD value) {
    HostParamBlock b = {};
    b.field[HPB_WINDOW] = (ULONG_PTR)w;
    b.field[HPB_OFFSET] = offset;
    b.field[HPB_ARG8] = value;
    send(l, HR_SET_WORD, &b);
}

extern "C" void rq_paint_dib(const HostLink *l, HANDLE dc, HGLOBAL dib) {
    HostParamBlock b = {};
    b.field[HPB_DIB] = (ULONG_PTR)dib;
    b.field[4] = (ULONG_PTR)dc;
    send(l, HR_DRAW_IMAGE, &b);
}

extern "C" HWND rq_get_owner_window(const HostLink *l, HWND w) {
    return l && l->owner_window ? l->owner_window(l->context, w) : NULL;
}

extern "C" HANDLE rq_reserve_menu(const HostLink *l, int count) {
    return l && l->reserve_menu ? l->reserve_menu(l->context, count) : NULL;
}

extern "C" UINT rq_reserve_menu_id(const HostLink *l) {
    return l && l->reserve_id ? l->reserve_id(l->context) : 0;
}

extern "C" void rq_show_help_text(const HostLink *l, const char *text) {
    HostParamBlock b = {};
    b.field[HPB_PATH] = (ULONG_PTR)text;
    send(l, HR_HELP_TEXT, &b);
}

/* The product message answers the name and a version word whose low two
   bytes are the major and minor number (0x0332: 3.50). */
extern "C" void rq_get_settings_key(const HostLink *l, char *product, char *version) {
    char name[KEY_TEXT] = "";
    HostParamBlock b = {};
    b.field[HPB_PATH] = (ULONG_PTR)name;
    DWORD v = (DWORD)send(l, HR_PRODUCT, &b);
    name[KEY_TEXT - 1] = '\0';
    if (product) memcpy(product, name, KEY_TEXT);
    if (version) snprintf(version, KEY_TEXT, "%u.%02u", (unsigned)(v >> 8 & 0xFF), (unsigned)(v & 0xFF));
}

extern "C" void rq_progress_start(const HostLink *l, HWND owner, const char *caption) {
    HostParamBlock b = {};
    b.field[HPB_WINDOW] = (ULONG_PTR)owner;
    b.field[HPB_PATH] = (ULONG_PTR)caption;
    send(l, HR_PROGRESS_START, &b);
}

extern "C" void rq_progress_range(const HostLink *l, int low, int high) {
    tell(l, HR_PROGRESS_RANGE, word(low), word(high));
}
extern "C" void rq_progress_step(const HostLink *l, int position) { tell(l, HR_PROGRESS_STEP, word(position), 0); }
extern "C" void rq_progress_end(const HostLink *l) { tell(l, HR_PROGRESS_END, 0, 0); }

extern "C" void rq_fmt_register(const HostLink *l, BYTE *record) {
    HostParamBlock b = {};
    b.field[HPB_RECORD] = (ULONG_PTR)record;
    send(l, HR_FMT_REGISTER, &b);
}

extern "C" void rq_fmt_progress_range(const HostLink *l, int low, int high) {
    tell(l, HR_FMT_PROGRESS_RANGE, word(low), word(high));
}
extern "C" void rq_fmt_progress_step(const HostLink *l, int percent) {
    tell(l, HR_FMT_PROGRESS_STEP, word(percent), 0);
}

static void info(const HostLink *l, UINT n, int key, long value, const char *text) {
    HostParamBlock b = {};
    b.field[HPB_OFFSET] = word(key);
    b.field[HPB_ARG8] = word(value);
    b.field[HPB_PATH] = (ULONG_PTR)text;
    send(l, n, &b);
}

extern "C" void rq_fmt_set_info_word(const HostLink *l, int key, int value) {
    info(l, HR_FMT_INFO_WORD, key, value, NULL);
}
extern "C" void rq_fmt_set_info_long(const HostLink *l, int key, long value) {
    info(l, HR_FMT_INFO_LONG, key, value, NULL);
}
extern "C" void rq_fmt_set_info_text(const HostLink *l, int key, const char *text) {
    info(l, HR_FMT_INFO_TEXT, key, 0, text);
}
extern "C" void rq_fmt_info_done(const HostLink *l) { tell(l, HR_FMT_INFO_DONE, 0, 0); }
extern "C" int rq_in_batch(const HostLink *l) { return tell(l, HR_IN_BATCH, 0, 0) != 0; }
extern "C" int rq_get_batch_session(const HostLink *l) { return (int)tell(l, HR_BATCH_SESSION, 0, 0); }
