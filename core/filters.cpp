/* The type lists of the common Open and Save dialogs:
   name NUL "*." extension NUL ... NUL, with the format codes beside. */
#include <string.h>

#include "core/catalogue.h"

/* A caller that sized its buffer at 128 bytes per entry must never be
   overrun by a long plug-in name: no entry takes more than this. */
#define FILTER_ENTRY_MAX 128

static int listed(int forSave, int index) {
    return forSave ? catalogue_listed_for_save(index) : catalogue_listed_for_open(index);
}

static size_t pattern_bytes(const FormatEntry *e) { return 2 + strlen(e->extension) + 1; }

/* Bytes of one entry with its name cut so the entry fits the limit. */
static size_t entry_bytes(const FormatEntry *e, size_t *nameLength) {
    size_t name = strlen(e->displayName);
    size_t room = FILTER_ENTRY_MAX - pattern_bytes(e) - 1;
    if (name > room) name = room;
    *nameLength = name;
    return name + 1 + pattern_bytes(e);
}

extern "C" size_t catalogue_filter_bytes(int forSave) {
    size_t total = 1;
    for (int i = 0; i < catalogue_count(); i++) {
        size_t name;
        if (listed(forSave, i)) total += entry_bytes(catalogue_entry(i), &name);
    }
    return total;
}

extern "C" int catalogue_build_filter(int forSave, char *buffer, size_t bufferSize, DWORD *codes,
                                      size_t codeCount) {
    size_t used = 0;
    int written = 0;
    if (buffer && bufferSize == 0) buffer = NULL;
    for (int i = 0; i < catalogue_count(); i++) {
        if (!listed(forSave, i)) continue;
        const FormatEntry *e = catalogue_entry(i);
        size_t name, bytes = entry_bytes(e, &name);
        if (buffer && used + bytes + 1 > bufferSize) break; /* keep room for the final NUL */
        if (codes && (size_t)written >= codeCount) break;
        if (buffer) {
            memcpy(buffer + used, e->displayName, name);
            buffer[used + name] = '\0';
            char *pattern = buffer + used + name + 1;
            pattern[0] = '*';
            pattern[1] = '.';
            strcpy(pattern + 2, e->extension);
            used += bytes;
        }
        if (codes) codes[written] = e->formatCode;
        written++;
    }
    if (buffer) buffer[used] = '\0';
    return written;
}

extern "C" int catalogue_filter_position(int forSave, int index) {
    if (!listed(forSave, index)) return 1;
    int position = 0;
    for (int i = 0; i <= index; i++)
        if (listed(forSave, i)) position++;
    return position;
}
