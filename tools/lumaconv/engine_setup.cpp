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
#if defined(_WIN32) && defined(LC_HAVE_IMAGE_OPS)
#include <string.h>

#include "image_ops.h"

/* The image operations' texts are image.dll's own (their ids overlap the
   program's table linked in here): read from the DLL beside lumaconv. */
static void use_image_texts(void) {
    static HMODULE texts;
    if (texts) return;
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof path);
    char *slash = n && n < sizeof path ? strrchr(path, '\\') : NULL;
    if (!slash || (size_t)(slash - path) + sizeof "\\image.dll" > sizeof path) return;
    strcpy(slash, "\\image.dll");
    texts = LoadLibraryExA(path, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (texts) img_set_instance(texts);
}
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
#if defined(_WIN32) && defined(LC_HAVE_IMAGE_OPS)
    use_image_texts();
#endif
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
