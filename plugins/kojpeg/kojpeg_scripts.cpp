/* Progressive scan scripts: the text of each level and its parsing into
   the codec's scan list.  A script is the Independent JPEG Group's scan
   syntax, one scan a line: components ":" first "-" last "," high ","
   low ";", with "#" starting a comment. */
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "kojpeg_hooks.h"

#define FIRST_SCRIPT_ID 143
#define SCRIPT_FILE_MAX 65536

#ifdef _WIN32
extern "C" const char *script_text(int level, size_t *length) {
    if (level < 1 || level > 6) return NULL;
    HMODULE module = kojpeg_instance();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(FIRST_SCRIPT_ID + level - 1), "__SCRIPT");
    HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
    const char *text = loaded ? (const char *)LockResource(loaded) : NULL;
    if (!text) return NULL;
    *length = SizeofResource(module, found);
    return text;
}
#else
#include "kojpeg_script_texts.h" /* generated from scripts/scan143.txt .. scan148.txt */

extern "C" const char *script_text(int level, size_t *length) {
    if (level < 1 || level > 6) return NULL;
    const char *text = KOJPEG_SCRIPTS[level - 1];
    *length = strlen(text);
    return text;
}
#endif

typedef struct Cursor {
    const char *p, *end;
} Cursor;

/* Skips blanks and comments (to the end of their line). */
static void skip_space(Cursor *c) {
    while (c->p < c->end) {
        if (*c->p == '#') {
            while (c->p < c->end && *c->p != '\n') c->p++;
        } else if (isspace((unsigned char)*c->p) || *c->p == '\0') {
            c->p++;
        } else {
            return;
        }
    }
}

static int read_number(Cursor *c, int *value) {
    skip_space(c);
    int v = 0, digits = 0;
    while (c->p < c->end && isdigit((unsigned char)*c->p) && digits < 4) {
        v = v * 10 + (*c->p++ - '0');
        digits++;
    }
    *value = v;
    return digits > 0 && !(c->p < c->end && isdigit((unsigned char)*c->p));
}

static int expect(Cursor *c, char ch) {
    skip_space(c);
    if (c->p >= c->end || *c->p != ch) return 0;
    c->p++;
    return 1;
}

/* components ":" ss "-" se "," ah "," al ";" */
static int read_scan(Cursor *c, TavnScan *s) {
    memset(s, 0, sizeof *s);
    for (;;) {
        int component;
        if (!read_number(c, &component) || component > 3 || s->count >= 4) return 0;
        s->component[s->count++] = (BYTE)component;
        skip_space(c);
        if (c->p < c->end && *c->p == ',') {
            c->p++;
            continue;
        }
        if (expect(c, ':')) break;
        return 0;
    }
    int ss, se, ah, al;
    if (!read_number(c, &ss) || !expect(c, '-') || !read_number(c, &se) || !expect(c, ',') ||
        !read_number(c, &ah) || !expect(c, ',') || !read_number(c, &al) || !expect(c, ';'))
        return 0;
    if (ss > 63 || se > 63 || ss > se || ah > 13 || al > 13) return 0;
    s->ss = (BYTE)ss;
    s->se = (BYTE)se;
    s->ah = (BYTE)ah;
    s->al = (BYTE)al;
    return 1;
}

extern "C" int script_parse(const char *text, size_t length, TavnScan *scans, DWORD *count) {
    Cursor c = {text, text + length};
    DWORD n = 0;
    for (;;) {
        skip_space(&c);
        if (c.p >= c.end) break;
        if (n >= TAVN_MAX_SCANS || !read_scan(&c, &scans[n])) return 0;
        n++;
    }
    *count = n;
    return n > 0;
}

/* Level 0: the file named by the SCRIPTFILE value. */
static char *read_script_file(size_t *length) {
    char name[MAX_PATH];
    options_script_file(name, sizeof name);
    FILE *f = name[0] ? fopen(name, "rb") : NULL;
    if (!f) return NULL;
    char *text = (char *)malloc(SCRIPT_FILE_MAX);
    size_t n = text ? fread(text, 1, SCRIPT_FILE_MAX, f) : 0;
    fclose(f);
    *length = n;
    return text;
}

extern "C" int script_load(int level, TavnRequest *r) {
    size_t length = 0;
    if (level == 0) {
        char *text = read_script_file(&length);
        int ok = text && script_parse(text, length, r->f.scans, &r->f.scanCount);
        free(text);
        if (ok) return 1;
        level = 1; /* no usable script file: the first built-in script */
    }
    const char *text = script_text(level, &length);
    return text && script_parse(text, length, r->f.scans, &r->f.scanCount);
}
