/* Starting the engine for one command, and the message method that turns
   message boxes into lines on standard error. */
#include <stdio.h>

#include "core/catalogue.h"
#include "core/color_ops.h"
#include "lumaconv.h"
#include "shell/settings/settings.h"
#include "zynlib.h"
#ifdef LC_HAVE_KOJPEG
#include "kojpeg_link.h"
#endif

static int answerYes;

void set_answer(int yes) { answerYes = yes; }

/* Prints the box's text as it would read (caption first when it has one)
   and answers questions from --answer: lumaconv never waits for a user. */
static int WINAPI print_message(HWND, LPCSTR text, LPCSTR caption, UINT style) {
    if (caption && *caption)
        fprintf(stderr, "%s: %s\n", caption, text ? text : "");
    else
        fprintf(stderr, "%s\n", text ? text : "");
    switch (style & MB_TYPEMASK) {
        case MB_YESNO:
            fprintf(stderr, "(answered %s)\n", answerYes ? "Yes" : "No");
            return answerYes ? IDYES : IDNO;
        case MB_OKCANCEL: return answerYes ? IDOK : IDCANCEL;
        default: return IDOK;
    }
}

int engine_start(void) {
    ZYN_ERR_SetErrorMethod(print_message);
    settings_set_store(NULL);
    settings_load_all(); /* no store: the defaults */
    color_ops_install_builtin();
#ifdef LC_HAVE_KOJPEG
    /* JPG, PIC and KQP save at --set jpeg_level (default 10), without the sheet. */
    kojpeg_install_slots(10);
#endif
    if (!catalogue_register_builtins()) return 0;
    catalogue_restore_current(settings_read(SET_LOAD_PROC), settings_read(SET_SAVE_PROC));
    return 1;
}

void engine_stop(void) {
    catalogue_free_all();
    ZYN_ERR_SetErrorMethod(NULL);
}
