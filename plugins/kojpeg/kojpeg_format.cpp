/* The format plug-in's description entry points: version, the three
   format records, validation and the icon. */
#include <stdio.h>
#include <string.h>

#include "kojpeg_hooks.h"
#ifndef _WIN32
#include <dlfcn.h>
#endif

typedef struct FormatInfo {
    const char *extension, *description;
    DWORD code;
} FormatInfo;

static const FormatInfo FORMATS[3] = {
    {"KQP", "KQP - Konica", KOJPEG_FORMAT_KQP},
    {"JPG", "JPG - Orvanta", KOJPEG_FORMAT_JPG},
    {"PIC", "PIC - Orvanta", KOJPEG_FORMAT_PIC},
};

/* Save capabilities for 1, 4, 8, 16, 24 and 32 bits. */
static const BYTE SAVE_CAPS[6] = {0, 0, 11, 0, 9, 0};

static void put32(BYTE *p, DWORD v) {
    p[0] = (BYTE)v;
    p[1] = (BYTE)(v >> 8);
    p[2] = (BYTE)(v >> 16);
    p[3] = (BYTE)(v >> 24);
}

static void module_path(char *path, size_t size) {
    path[0] = '\0';
#ifdef _WIN32
    DWORD n = GetModuleFileNameA(kojpeg_instance(), path, (DWORD)size);
    if (n >= size) path[0] = '\0';
#else
    Dl_info info;
    if (dladdr((void *)module_path, &info) && info.dli_fname) snprintf(path, size, "%s", info.dli_fname);
#endif
}

static void fill_record(BYTE *record, const FormatInfo *f) {
    memset(record, 0, KOJPEG_RECORD_SIZE);
    memcpy(record, f->extension, 3);
    snprintf((char *)record + 4, 80, "%s", f->description);
    char path[MAX_PATH];
    module_path(path, sizeof path);
    if (strlen(path) < 128) memcpy(record + 84, path, strlen(path));
    put32(record + 212, 1);
    put32(record + 216, 1);
    memcpy(record + 220, SAVE_CAPS, sizeof SAVE_CAPS);
    put32(record + 228, f->code);
}

extern "C" int WINAPI RQ_Fmt_Version(void) { return 1; }

extern "C" int WINAPI RQ_Fmt_Init(HMODULE host, BYTE *record) {
    host_bind(host);
    kojpeg_clear_request();
    if (!record) return 0;
    fill_record(record, &FORMATS[0]);
    host_register(record);
    fill_record(record, &FORMATS[1]);
    host_register(record);
    fill_record(record, &FORMATS[2]); /* stays with the caller */
    return 1;
}

extern "C" int WINAPI RQ_Fmt_Validate(HMODULE, LPSTR) { return 1; }

extern "C" HANDLE WINAPI RQ_Fmt_Icon(void) {
#ifdef _WIN32
    return (HANDLE)LoadIconA(kojpeg_instance(), "Orvanta");
#else
    return NULL;
#endif
}
