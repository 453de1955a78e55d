/* The one load and save pipeline every caller uses. */
#ifndef LC_PIPELINE_H
#define LC_PIPELINE_H

#include "core/codec_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Loads path with the current load format, showing the load panel while
   the loader runs.  The DIB in *out belongs to the caller. */
int LoadFile(LPSTR path, HGLOBAL *out);
/* Saves dib with the current save format.  The writer works on a temporary
   file beside the target, which replaces the target only when the writer
   succeeded: a failed save leaves an existing file as it was. */
int SaveFile(LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);

/* While SaveFile runs: the path the user chose (writers that record the
   file's own name, such as a title line, take it from here); otherwise
   the path given, unchanged. */
const char *pipeline_save_target(const char *writerPath);

/* Dispatch by catalogue index: plug-in entries go to the plug-in's exports,
   the others to their own handlers.  An entry that cannot do the job is
   reported here, once. */
int pipeline_load(int index, LPSTR path, HGLOBAL *out);
int pipeline_save(int index, LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);
int pipeline_validate(int index, LPSTR path);

/* The module handle of imagehost, passed first to every format plug-in
   export; null until the shell binds imagehost. */
void pipeline_set_host_module(HMODULE host);
HMODULE pipeline_host_module(void);

#ifdef __cplusplus
}
#endif

#endif
