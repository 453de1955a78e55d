/* The save options: registry values, the sheet and batch sessions. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "kojpeg_hooks.h"

static KojpegSheetMethod sheetMethod = kojpeg_sheet_default;

extern "C" KojpegSheetMethod kojpeg_set_sheet_method(KojpegSheetMethod method) {
    KojpegSheetMethod old = sheetMethod;
    sheetMethod = method ? method : kojpeg_sheet_default;
    return old;
}

extern "C" void options_defaults(JpegOptions *o) {
    memset(o, 0, sizeof *o);
    o->chrominance = 36;
    o->luminance = 30;
    o->subsample = 2;
    o->scriptLevel = 1;
}

/* A value read back as a decimal number. */
static DWORD read_number(const char *name, DWORD fallback) {
    char text[32], given[16];
    snprintf(given, sizeof given, "%lu", (unsigned long)fallback);
    store_read(name, given, text, sizeof text);
    return (DWORD)strtoul(text, NULL, 10);
}

static void read_text(const char *name, char *value, size_t size) { store_read(name, "", value, size); }

extern "C" void options_read(JpegOptions *o) {
    JpegOptions d;
    options_defaults(&d);
    o->chrominance = read_number("CHROMINANCE", d.chrominance);
    o->luminance = read_number("LUMINANCE", d.luminance);
    o->subsample = read_number("SUBSAMPLE", d.subsample);
    o->wantPassword = read_number("WANTPASSWORD", d.wantPassword);
    read_text("PASSWORD", o->password, sizeof o->password);
    o->optimumChoice = read_number("OPTIMUMCHOICE", d.optimumChoice);
    o->scriptLevel = read_number("SCRIPTLEVEL", d.scriptLevel);
    o->wantProgressive = read_number("WANTJPROG", d.wantProgressive);
    read_text("COMMENTFIELD", o->comment, sizeof o->comment);
    o->batchSession = read_number("BATCHSESSION", d.batchSession);
}

static void write_if_changed(const char *name, DWORD before, DWORD after) {
    if (before == after) return;
    char text[16];
    snprintf(text, sizeof text, "%lu", (unsigned long)after);
    store_write(name, text);
}

extern "C" void options_write_changes(const JpegOptions *read, const JpegOptions *chosen, int passwordChanged) {
    write_if_changed("SUBSAMPLE", read->subsample, chosen->subsample);
    write_if_changed("CHROMINANCE", read->chrominance, chosen->chrominance);
    write_if_changed("LUMINANCE", read->luminance, chosen->luminance);
    write_if_changed("SCRIPTLEVEL", read->scriptLevel, chosen->scriptLevel);
    write_if_changed("WANTJPROG", read->wantProgressive, chosen->wantProgressive);
    write_if_changed("OPTIMUMCHOICE", read->optimumChoice, chosen->optimumChoice);
    if (passwordChanged) store_write("PASSWORD", chosen->password);
    write_if_changed("WANTPASSWORD", read->wantPassword, chosen->wantPassword);
    if (chosen->comment[0] && strcmp(chosen->comment, read->comment) != 0) store_write("COMMENTFIELD", chosen->comment);
}

extern "C" void options_write_session(DWORD session) {
    char text[16];
    snprintf(text, sizeof text, "%lu", (unsigned long)session);
    store_write("BATCHSESSION", text);
}

extern "C" void options_script_file(char *name, size_t size) {
    store_read("SCRIPTFILE", "", name, size);
}

/* Reads the values, shows the sheet and, on OK, writes what changed. */
static int run_sheet(int *kind, JpegOptions *o) {
    options_read(o);
    if (o->wantProgressive && *kind == KIND_SEQUENTIAL) *kind = KIND_PROGRESSIVE;
    JpegOptions read = *o;
    int passwordChanged = 0;
    if (!sheetMethod(*kind, o, &passwordChanged)) return 0;
    o->password[TAVN_PASSWORD_MAX] = '\0';
    o->comment[TAVN_COMMENT_MAX] = '\0';
    options_write_changes(&read, o, passwordChanged);
    if (*kind != KIND_PIC) *kind = o->wantProgressive ? KIND_PROGRESSIVE : KIND_SEQUENTIAL;
    return 1;
}

extern "C" int options_settle(int *kind, WORD level, WORD mode, JpegOptions *o) {
    if (mode == 0xFFFF) {
        /* No dialog: the level alone. */
        const JpegLevel *l = kojpeg_level(level);
        options_defaults(o);
        o->luminance = l->luminance;
        o->chrominance = l->chrominance;
        o->subsample = l->subsample;
        o->optimumChoice = level < KOJPEG_LEVELS ? level : KOJPEG_LEVELS - 1;
        return 1;
    }
    if (!host_in_batch()) return run_sheet(kind, o);
    options_read(o);
    DWORD session = (DWORD)host_batch_session();
    if (session != o->batchSession) {
        options_write_session(session);
        return run_sheet(kind, o);
    }
    /* A later save of the same session: the stored choices. */
    if (o->wantProgressive && *kind == KIND_SEQUENTIAL) *kind = KIND_PROGRESSIVE;
    return 1;
}
