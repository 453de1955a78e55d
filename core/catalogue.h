/* The format catalogue: every file format the program can open or write,
   in registration order.  A format is named at run time by its index and
   across plug-ins and settings by its format code. */
#ifndef LC_CATALOGUE_H
#define LC_CATALOGUE_H

#include "core/codec_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* What a file becomes when it is opened. */
#define KIND_IMAGE 1u
#define KIND_VIDEO 4u
#define KIND_WAVE 8u
#define KIND_MIDI 16u

/* Save capability bits, one byte per depth slot. */
#define SC_COLOR 1
#define SC_GRAY 2
#define SC_COMPRESS_OPTION 4
#define SC_COMPRESS_ALWAYS 8
#define SC_COMPRESSIBLE (SC_COMPRESS_OPTION | SC_COMPRESS_ALWAYS)

/* Depth slots 0..5 stand for 1, 4, 8, 16, 24 and 32 bits per pixel. */
#define LC_DEPTH_SLOTS 6

#define LC_EXT_SIZE 8

typedef struct FormatEntry {
    DWORD index;
    DWORD kinds;
    char extension[LC_EXT_SIZE]; /* upper case, no dot; "*" for the wild card */
    char *displayName;            /* owned */
    FmtLoadProc load;
    FmtSaveProc save;
    FmtValidateProc validate;
    BYTE saveCaps[LC_DEPTH_SLOTS];
    char *pluginPath; /* owned, or null for a built-in entry */
    DWORD formatCode;
} FormatEntry;

typedef struct FormatCatalogue {
    FormatEntry *entries;
    DWORD count;
    DWORD capacity;
} FormatCatalogue;

/* ---- start-up and exit (called by the shell) ---------------------------- */

/* Registers the built-in formats in their fixed order; 1 on success. */
int catalogue_register_builtins(void);
/* Frees names, plug-in paths and the array; the catalogue is empty after. */
void catalogue_free_all(void);

/* ---- registration and lookup -------------------------------------------- */

/* Returns the new index, or -1 when memory is short (reported).  The name
   and path are copied; caps may be null (all zero); a plug-in path is
   expanded to a full path first. */
int catalogue_register(DWORD kinds, const char *extension, const char *displayName,
                       FmtLoadProc load, FmtSaveProc save, FmtValidateProc validate,
                       const BYTE *caps, const char *pluginPath, DWORD formatCode);

const FormatCatalogue *catalogue_get(void);
int catalogue_count(void);
int catalogue_last_index(void);
/* Null for an index outside the catalogue. */
const FormatEntry *catalogue_entry(int index);

/* Copies the extension into buf (size bytes); 0 for a bad index. */
int catalogue_extension(int index, char *buf, size_t size);
const char *catalogue_display_name(int index);
DWORD catalogue_kinds(int index);
DWORD catalogue_format_code(int index);
BYTE catalogue_save_caps(int index, int slot);
int catalogue_caps_test(int index, int slot, BYTE mask);
int catalogue_index_of_code(DWORD code);

int catalogue_has_loader(int index);
int catalogue_listed_for_open(int index);
int catalogue_has_writer(int index);
int catalogue_listed_for_save(int index);
int catalogue_is_plugin(int index);

/* Remembered at registration: the fallback format and the icon entry. */
int catalogue_dib_index(void);
int catalogue_icon_index(void);
int catalogue_wildcard_index(void);

/* ---- detection ------------------------------------------------------------ */

/* Index of the first entry whose extension equals the path's last extension
   (upper-cased) and whose validation accepts the file; -1 when none. */
int detect_format(const char *path);
/* The loader of the wild-card entry: detects, then loads as that format. */
int WINAPI LoadByDetection(LPSTR path, HGLOBAL *out);
int catalogue_detected_format(void);

/* ---- current formats ------------------------------------------------------ */

int catalogue_current_load(void);
void catalogue_set_current_load(int index);
int catalogue_current_save(void);
void catalogue_set_current_save(int index);
/* Start-up: stored indexes (load_proc, save_proc); unusable ones fall back
   to the DIB entry. */
void catalogue_restore_current(LONG loadProc, LONG saveProc);

/* ---- dialog filter lists -------------------------------------------------- */

/* Exact bytes a list needs (names, patterns, NULs and the final NUL). */
size_t catalogue_filter_bytes(int forSave);
/* Writes the list into buffer (bufferSize bytes; may be null) and the codes
   into codes (codeCount slots; may be null).  Entries that would not fit
   are left out; a name longer than a 128-byte entry allows is cut.
   Returns the number of entries written. */
int catalogue_build_filter(int forSave, char *buffer, size_t bufferSize,
                           DWORD *codes, size_t codeCount);

/* 1-based position of a format in a list (the dialogs' initial type), or
   1 when the format is not listed. */
int catalogue_filter_position(int forSave, int index);

/* ---- messages ------------------------------------------------------------- */

/* Shows message id (kind 2) with the entry's upper-case extension as its
   "%s"; returns the box's answer. */
int catalogue_format_error(UINT id, int index);

#ifdef __cplusplus
}
#endif

#endif
