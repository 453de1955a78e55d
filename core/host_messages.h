/* The host messages that concern formats, loads, saves and the load panel:
   imagehost and its plug-ins send them to the frame window, which hands
   them to these functions. */
#ifndef LC_HOST_MESSAGES_H
#define LC_HOST_MESSAGES_H

#include <stddef.h>

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

#define HM_BASE 0x1634u
#define HM_LOADINFO_PROGRESS (HM_BASE + 21)
#define HM_LOADINFO_NUMBER (HM_BASE + 22)
#define HM_LOADINFO_TEXT (HM_BASE + 23)
#define HM_LOADINFO_STEP (HM_BASE + 24)
#define HM_LOADINFO_NUMBER2 (HM_BASE + 25)
#define HM_LOADINFO_READY (HM_BASE + 26)
#define HM_REGISTER_FORMAT 0x164Fu
#define HM_OPEN_WINDOW 0x1653u
#define HM_LOAD_FILE 0x165Au
#define HM_CODE_TO_INDEX 0x165Bu
#define HM_INDEX_TO_CODE 0x165Cu
#define HM_SAVE_FILE 0x1663u
#define HM_OPEN_FILTER 0x1667u
#define HM_CURRENT_CODES 0x1668u
#define HM_CODE_TO_EXT 0x1669u
#define HM_DETECT 0x166Eu
#define HM_HAS_LOADER 0x166Fu
#define HM_LOADINFO_SWITCH (HM_BASE + 60)
#define HM_SAVE_FILTER 0x1671u
#define HM_SAVE_FLAG_TEST 0x1672u

#define HOST_PATH_SIZE 128

/* The parameter block.  Fields are pointer-sized so that pointers survive
   in a 64-bit build; in the 32-bit build this is exactly the block of 32-bit
   words that plug-ins fill, with the path buffer at byte 56 (field 14). */
typedef struct HostParamBlock {
    ULONG_PTR field[14];
    char path[HOST_PATH_SIZE];
} HostParamBlock;

/* Field numbers. */
#define HPB_WINDOW 0
#define HPB_DIB 1
#define HPB_PATH 2
#define HPB_OFFSET 3
#define HPB_RECORD 5
#define HPB_COLOR 6
#define HPB_COMPRESSED 7
#define HPB_ARG8 8
#define HPB_ARG9 9
#define HPB_INDEX 12
#define HPB_CODE 13

/* "No format given" in field 13, as the 32-bit plug-ins write it. */
#define HPB_NO_CODE 0xFFFFFFFFu

/* A format plug-in's description record: a fixed little-endian layout. */
typedef struct PluginFormatRecord {
    char extension[4];
    char displayName[80];
    char libraryPath[128];
    DWORD canLoad;
    DWORD canSave;
    BYTE saveCaps[6];
    BYTE padding[2];
    DWORD formatCode;
} PluginFormatRecord;

#ifdef __cplusplus
static_assert(sizeof(PluginFormatRecord) == 232, "plug-in record is 232 bytes");
static_assert(offsetof(PluginFormatRecord, displayName) == 4, "record layout");
static_assert(offsetof(PluginFormatRecord, libraryPath) == 84, "record layout");
static_assert(offsetof(PluginFormatRecord, canLoad) == 212, "record layout");
static_assert(offsetof(PluginFormatRecord, canSave) == 216, "record layout");
static_assert(offsetof(PluginFormatRecord, saveCaps) == 220, "record layout");
static_assert(offsetof(PluginFormatRecord, formatCode) == 228, "record layout");
static_assert(offsetof(HostParamBlock, path) == 14 * sizeof(ULONG_PTR), "path follows field 13");
#endif

/* Hooks the shell fills: the Open dialog (writes the chosen name into
   buffer, 1 on OK) and opening a file in a new image window. */
typedef struct HostHooks {
    int (*open_dialog)(char *buffer, size_t size);
    HWND (*open_window)(const char *path, int index);
} HostHooks;

void host_set_hooks(const HostHooks *hooks);

LRESULT hm_register_format(HostParamBlock *block);
LRESULT hm_code_to_index(HostParamBlock *block);
LRESULT hm_index_to_code(HostParamBlock *block);
LRESULT hm_open_filter(HostParamBlock *block);
LRESULT hm_current_codes(HostParamBlock *block);
LRESULT hm_code_to_ext(HostParamBlock *block);
LRESULT hm_detect(HostParamBlock *block);
LRESULT hm_has_loader(HostParamBlock *block);
LRESULT hm_save_filter(HostParamBlock *block);
LRESULT hm_save_flag_test(HostParamBlock *block);
LRESULT hm_open_window(HostParamBlock *block);
LRESULT hm_load_file(HostParamBlock *block);
LRESULT hm_save_file(HostParamBlock *block);
LRESULT hm_loadinfo(UINT message, HostParamBlock *block);

/* Handles any of the messages above: 1 and *result when it was one of
   them, 0 for a message that belongs to someone else. */
int host_format_message(UINT message, HostParamBlock *block, LRESULT *result);

#ifdef __cplusplus
}
#endif

#endif
