/* The host services plug-ins call, each a thin request to the program's
   frame: a host message (0x1634 + n) with a parameter block.  The plug-in
   host library sends them with SendMessage; natively a test or tool
   answers them itself.  Every request builds a fresh, zeroed block. */
#ifndef LC_HOST_REQUESTS_H
#define LC_HOST_REQUESTS_H

#include "core/host_messages.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef LRESULT (*HostSendProc)(void *context, UINT message, HostParamBlock *block);

/* How requests reach the program.  The hooks for what the host library
   keeps itself (menus, the dialog owner) may be null. */
typedef struct HostLink {
    HostSendProc send;
    void *context;
    HANDLE (*reserve_menu)(void *context, int count);
    UINT (*reserve_id)(void *context);
    HWND (*owner_window)(void *context, HWND window);
} HostLink;

/* Host message numbers n of the requests. */
enum HostRequestNumber {
    HR_SET_WORD = 1,
    HR_TEST_FLAGS = 2,
    HR_GET_IMAGE = 4,
    HR_GET_PALETTE = 6,
    HR_COPY_IMAGE = 7,
    HR_REPLACE_IMAGE = 11,
    HR_PROGRESS_RANGE = 14,
    HR_PROGRESS_START = 15,
    HR_PROGRESS_STEP = 17,
    HR_PROGRESS_END = 18,
    HR_FMT_PROGRESS_RANGE = 21,
    HR_FMT_INFO_WORD = 22,
    HR_FMT_INFO_TEXT = 23,
    HR_FMT_PROGRESS_STEP = 24,
    HR_FMT_INFO_LONG = 25,
    HR_FMT_INFO_DONE = 26,
    HR_FMT_REGISTER = 27,
    HR_HELP_TEXT = 29,
    HR_IN_BATCH = 32,
    HR_DRAW_IMAGE = 35,
    HR_BATCH_SESSION = 42,
    HR_PRODUCT = 56
};

HGLOBAL rq_get_hdib(const HostLink *l, HWND w);
HGLOBAL rq_copy_hdib(const HostLink *l, HWND w);
void rq_replace_hdib(const HostLink *l, HWND w, HGLOBAL dib);
int rq_get_flag(const HostLink *l, HWND w, DWORD bits);
void rq_set_info(const HostLink *l, HWND w, DWORD offset, DWORD value);
HANDLE rq_get_palette(const HostLink *l, HWND w);
void rq_paint_dib(const HostLink *l, HANDLE dc, HGLOBAL dib);
HWND rq_get_owner_window(const HostLink *l, HWND w);
HANDLE rq_reserve_menu(const HostLink *l, int count);
UINT rq_reserve_menu_id(const HostLink *l);
void rq_show_help_text(const HostLink *l, const char *text);
/* Product name and version text ("Lumacast", "3.50"), 64 bytes each. */
void rq_get_settings_key(const HostLink *l, char *product, char *version);
void rq_progress_start(const HostLink *l, HWND owner, const char *caption);
void rq_progress_range(const HostLink *l, int low, int high);
void rq_progress_step(const HostLink *l, int position);
void rq_progress_end(const HostLink *l);

void rq_fmt_register(const HostLink *l, BYTE *record);
void rq_fmt_progress_range(const HostLink *l, int low, int high);
void rq_fmt_progress_step(const HostLink *l, int percent);
void rq_fmt_set_info_word(const HostLink *l, int key, int value);
void rq_fmt_set_info_long(const HostLink *l, int key, long value);
void rq_fmt_set_info_text(const HostLink *l, int key, const char *text);
void rq_fmt_info_done(const HostLink *l);
int rq_in_batch(const HostLink *l);
int rq_get_batch_session(const HostLink *l);

#ifdef __cplusplus
}
#endif

#endif
