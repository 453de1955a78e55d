/* kojpeg, the JPEG format plug-in: JPEG, PIC and KQP load and save through
   the TAVN13 codec, with its compression options. */
#ifndef KOJPEG_H
#define KOJPEG_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

#define KOJPEG_FORMAT_KQP 150
#define KOJPEG_FORMAT_JPG 151
#define KOJPEG_FORMAT_PIC 152
#define KOJPEG_RECORD_SIZE 232
#define KOJPEG_LEVELS 20

/* The format plug-in entry points (ordinals 2 to 7). */
int WINAPI RQ_Fmt_Version(void);
int WINAPI RQ_Fmt_Init(HMODULE host, BYTE *record);
int WINAPI RQ_Fmt_Load(HMODULE host, LPSTR path, HGLOBAL *out);
int WINAPI RQ_Fmt_Save(HMODULE host, LPSTR path, HGLOBAL dib, WORD format, WORD level, WORD mode);
int WINAPI RQ_Fmt_Validate(HMODULE host, LPSTR path);
HANDLE WINAPI RQ_Fmt_Icon(void);
/* Memory buffers (ordinals 8, 9). */
int WINAPI MEM_SaveJPG(BYTE *buffer, DWORD *size, HGLOBAL dib, WORD level);
int WINAPI MEM_LoadJPG(const BYTE *buffer, DWORD size, HGLOBAL *out);
/* What the program links for its JPG, PIC and KQP entries (ordinals 10, 11). */
int WINAPI FOR_LoadJPG(LPSTR path, HGLOBAL *out);
int WINAPI FOR_SaveJPG(LPSTR path, HGLOBAL dib, WORD a, WORD b, WORD c);

/* The quality level table: luminance, chrominance, subsampling. */
typedef struct JpegLevel {
    BYTE luminance, chrominance, subsample;
} JpegLevel;
const JpegLevel *kojpeg_level(unsigned level); /* level min(level, 19) */

#ifdef __cplusplus
}
#endif

#endif
