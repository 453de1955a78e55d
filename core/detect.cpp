/* Detection by file-name extension and the wild-card entry's loader. */
#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include "core/catalogue.h"
#include "core/lc_instance.h"
#include "core/messages.h"
#include "core/pipeline.h"
#include "lumacast_strings.h"

static int detectedFormat = -1;

extern "C" int catalogue_detected_format(void) { return detectedFormat; }

/* The file-name part: a dot in a directory name ("C:\PICS.BMP\README")
   must not give the file a format. */
static const char *file_name_part(const char *path) {
    const char *name = path;
    for (const char *p = path; *p; p++)
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    return name;
}

/* Copies the text after the name's last '.' upper-cased; 0 when there is
   no dot or nothing follows it.  The C runtime's toupper follows the code
   page the program set up, so accented extensions compare the way the user
   typed them. */
static int upper_extension(const char *path, char *out, size_t size) {
    const char *dot = strrchr(file_name_part(path), '.');
    if (!dot || !dot[1]) return 0;
    size_t n = strlen(dot + 1);
    if (n >= size) return 0; /* longer than any extension the catalogue holds */
    for (size_t i = 0; i <= n; i++) out[i] = (char)toupper((unsigned char)dot[1 + i]);
    return 1;
}

extern "C" int detect_format(const char *path) {
    char ext[LC_EXT_SIZE];
    if (!path || !upper_extension(path, ext, sizeof ext)) return -1;
    for (int i = 0; i < catalogue_count(); i++) {
        const FormatEntry *e = catalogue_entry(i);
        if (strcmp(e->extension, ext) == 0 && pipeline_validate(i, (LPSTR)path)) return i;
    }
    return -1;
}

static void report_undetectable(const char *path) {
    char head[128], tail[128], text[LC_MESSAGE_MAX];
    LoadStringA(lc_instance(), IDS_UNSUPPORTED_TYPE, head, (int)sizeof head);
    LoadStringA(lc_instance(), IDS_CANNOT_LOAD, tail, (int)sizeof tail);
    snprintf(text, sizeof text, "%s%s%s", head, path, tail);
    lc_message_text(MSG_ERROR, text);
}

/* A name ending in ".*" detects the wild-card entry itself; loading that
   "format" would only come back here, so it counts as undetectable. */
extern "C" int WINAPI LoadByDetection(LPSTR path, HGLOBAL *out) {
    if (out) *out = NULL;
    int self = catalogue_current_load();
    int index = detect_format(path);
    if (index < 0 || catalogue_entry(index)->load == LoadByDetection) {
        report_undetectable(path);
        return 0;
    }
    catalogue_set_current_load(index);
    int ok = pipeline_load(index, path, out);
    detectedFormat = index;
    catalogue_set_current_load(self >= 0 ? self : catalogue_wildcard_index());
    return ok;
}
