/* Codec slots: which reader and writer serve each built-in format.  A slot
   that no codec fills yet holds the "missing codec" handlers; the load and
   save dispatch recognises them and reports the format once. */
#ifndef LC_CODEC_REGISTRY_H
#define LC_CODEC_REGISTRY_H

#include "core/codec_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Stand-ins for an empty slot; they fail without a message of their own. */
int WINAPI CodecMissingLoad(LPSTR path, HGLOBAL *out);
int WINAPI CodecMissingSave(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);

/* The reader and writer of the built-in format with this extension (upper
   case); the missing-codec handlers for an empty slot or an unknown name. */
FmtLoadProc codec_loader(const char *extension);
FmtSaveProc codec_writer(const char *extension);

/* Fills a slot from outside the engine (the shell's media windows, the
   JPEG plug-in linked by the program).  Must run before the built-in
   catalogue is registered.  Null keeps the slot's present handler.
   Returns 0 for an extension without a slot. */
int codec_install(const char *extension, FmtLoadProc load, FmtSaveProc save);

#ifdef __cplusplus
}
#endif

#endif
