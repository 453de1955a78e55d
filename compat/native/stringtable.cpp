#include "stringtable.h"

#include <stdio.h>
#include <string.h>

static const CompatStringEntry *find_entry(const CompatStringModule *m, UINT id) {
    UINT lo = 0, hi = m->count;
    while (lo < hi) {
        UINT mid = lo + (hi - lo) / 2;
        if (m->entries[mid].id == id) return &m->entries[mid];
        if (m->entries[mid].id < id)
            lo = mid + 1;
        else
            hi = mid;
    }
    return nullptr;
}

extern "C" int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int max) {
    if (!buffer || max <= 0) return 0;
    buffer[0] = '\0';
    const CompatStringModule *m = reinterpret_cast<const CompatStringModule *>(instance);
    if (!m) return 0;
    const CompatStringEntry *e = find_entry(m, id);
    if (!e) return 0;
    size_t n = strlen(e->text);
    if (n > (size_t)(max - 1)) n = (size_t)(max - 1);
    memcpy(buffer, e->text, n);
    buffer[n] = '\0';
    return (int)n;
}

extern "C" int compat_message_box(HWND, LPCSTR text, LPCSTR caption, UINT style) {
    if (caption && *caption)
        fprintf(stderr, "%s: %s\n", caption, text ? text : "");
    else
        fprintf(stderr, "%s\n", text ? text : "");
    switch (style & MB_TYPEMASK) {
        case MB_YESNO: return IDNO;
        case MB_OKCANCEL: return IDCANCEL;
        default: return IDOK;
    }
}
