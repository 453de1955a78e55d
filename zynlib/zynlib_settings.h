/* The settings store (Windows build only): every persistent setting of the
   system as text in the registry, one key per value under
     HKEY_CURRENT_USER\Software\<company>\<product>\<version>\<section>
   (HKEY_LOCAL_MACHINE\SOFTWARE\... for machine-wide settings), and the
   file-type associations of image and project files.

   Value names: while the name format flag is on (the initial state) every
   name handed to a get or set operation is rewritten IN PLACE before use:
   underscores become spaces and a lowercase b..y at the start or after an
   underscore is raised ("save_dither" -> "Save Dither", "alpha_display" ->
   "alpha Display").  Pass a writable buffer.

   Get operations return 1 and set *value when the value exists; 0 leaves
   *value as it was, so preset the default.  A text of 64 characters or more
   cannot be read.  Set operations return 0 on success (a registry error
   code otherwise).  Nothing here shows a message.  One caller at a time. */
#ifndef ZYNLIB_SETTINGS_H
#define ZYNLIB_SETTINGS_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

#ifdef _WIN32

/* Bytes a string value buffer must hold. */
#define ZYN_REG_VALUE_BUFFER 64

void WINAPI ZYN_REG_SetCompany(LPCSTR company); /* up to 255 characters */
void WINAPI ZYN_REG_SetFormat(BOOL on);

/* Opens the section key, creating missing keys; null on failure. */
HKEY WINAPI ZYN_REG_OpenSettings(LPCSTR product, LPCSTR version, LPCSTR section);
HKEY WINAPI ZYN_REG_OpenMachineSettings(LPCSTR product, LPCSTR version, LPCSTR section);
void WINAPI ZYN_REG_CloseSettings(HKEY key);

/* buffer: ZYN_REG_VALUE_BUFFER bytes.  Set writes the first length
   characters of text (fewer when text ends sooner). */
BOOL WINAPI ZYN_REG_GetValueString(HKEY key, LPSTR name, LPSTR buffer);
LONG WINAPI ZYN_REG_SetValueString(HKEY key, LPSTR name, LPCSTR text, DWORD length);
BOOL WINAPI ZYN_REG_GetValueDWord(HKEY key, LPSTR name, DWORD *value);
LONG WINAPI ZYN_REG_SetValueDWord(HKEY key, LPSTR name, DWORD value);
BOOL WINAPI ZYN_REG_GetValueLong(HKEY key, LPSTR name, LONG *value);
LONG WINAPI ZYN_REG_SetValueLong(HKEY key, LPSTR name, LONG value);
BOOL WINAPI ZYN_REG_GetValueInt(HKEY key, LPSTR name, int *value);
LONG WINAPI ZYN_REG_SetValueInt(HKEY key, LPSTR name, int value);
BOOL WINAPI ZYN_REG_GetValueLHex(HKEY key, LPSTR name, DWORD *value);
LONG WINAPI ZYN_REG_SetValueLHex(HKEY key, LPSTR name, DWORD value);
BOOL WINAPI ZYN_REG_GetValueSInt(HKEY key, LPSTR name, short *value);
LONG WINAPI ZYN_REG_SetValueSInt(HKEY key, LPSTR name, short value);
BOOL WINAPI ZYN_REG_GetValueWord(HKEY key, LPSTR name, WORD *value);
LONG WINAPI ZYN_REG_SetValueWord(HKEY key, LPSTR name, WORD value);
/* Reads 1 for any non-zero text. */
BOOL WINAPI ZYN_REG_GetValueBool(HKEY key, LPSTR name, BOOL *value);
LONG WINAPI ZYN_REG_SetValueBool(HKEY key, LPSTR name, BOOL value);

/* Writes the name of every subkey (longer names cut to 64 characters),
   each closed by a zero byte, then one more zero byte; returns the count.
   The buffer must hold 65 bytes per subkey and one more. */
UINT WINAPI ZYN_REG_GetEntries(HKEY key, LPSTR buffer);
/* Deletes the subkey with everything below it; TRUE when it is gone. */
BOOL WINAPI ZYN_REG_DeleteKey(HKEY key, LPCSTR subkey);
/* Delete under both the user and the machine company keys. */
void WINAPI ZYN_REG_DeleteSection(LPCSTR product, LPCSTR version, LPCSTR section);
void WINAPI ZYN_REG_DeleteVersion(LPCSTR product, LPCSTR version);
void WINAPI ZYN_REG_DeleteProduct(LPCSTR product);

/* File types under HKEY_CLASSES_ROOT.  The open calls register the type
   "<type>.Image" or "<type>.Project" and its class identifier, and hand back
   the root key for the extension calls; close it with
   ZYN_REG_CloseExtensions.  They return 1, or 0 (and a null key) when the
   keys could not be written. */
BOOL WINAPI ZYN_REG_OpenImageExtDDE(HKEY *key, LPCSTR type, LPCSTR program, LPCSTR classId);
BOOL WINAPI ZYN_REG_OpenImageExt(HKEY *key, LPCSTR type, LPCSTR program, LPCSTR classId, UINT icon);
BOOL WINAPI ZYN_REG_OpenProjectExt(HKEY *key, LPCSTR type, LPCSTR program, LPCSTR classId);
/* Associates ".<extension>" with the type unless the extension already has
   an owner; 1 when the association was written. */
BOOL WINAPI ZYN_REG_SetImageExt(HKEY key, LPCSTR extension, LPCSTR type);
BOOL WINAPI ZYN_REG_SetProjectExt(HKEY key, LPCSTR extension, LPCSTR type);
void WINAPI ZYN_REG_CloseExtensions(HKEY key);

#endif

#ifdef __cplusplus
}
#endif

#endif
