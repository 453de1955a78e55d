/* TAVN13, the JPEG codec library that kojpeg drives: one request record,
   two entry points (identify, execute).  A stand-in of our own doing its
   coding with libjpeg-turbo. */
#ifndef TAVN13_H
#define TAVN13_H

#include <stddef.h>

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

#define TAVN_RECORD_SIZE 1408
#define TAVN_VERSION 13

/* Status words. */
#define TAVN_OK 0
#define TAVN_ERR_NOMEM (-108)
#define TAVN_ERR_NOCODEC (-2005)
#define TAVN_ERR_UNKNOWN (-2001)   /* not a file this codec knows */
#define TAVN_ERR_CORRUPT (-2002)   /* the stream is damaged */
#define TAVN_ERR_PASSWORD (-2003)  /* PIC locked by a password not given */
#define TAVN_ERR_PARAM (-2004)     /* a bad request (size, mode, scans) */
#define TAVN_ERR_TOOBIG (-2006)    /* image larger than the codec takes */

/* Request codes of execute. */
#define TAVN_RQ_DECODE 1       /* sequential JPEG and the PIC kind */
#define TAVN_RQ_DECODE_MULTI 2 /* progressive (multi-scan) JPEG */
#define TAVN_RQ_ENCODE 3       /* sequential JPEG, or PIC when pic is set */
#define TAVN_RQ_ENCODE_PROG 4  /* progressive JPEG from the scan list */
#define TAVN_RQ_ABORT 9        /* ends a request early and frees its state */

/* Results of execute.  2 asks the caller to unload the library. */
#define TAVN_CONTINUE 0
#define TAVN_DONE 1
#define TAVN_UNLOAD 2
#define TAVN_FAILED 3

/* Events reported with TAVN_CONTINUE. */
#define TAVN_EVT_NONE 0
#define TAVN_EVT_HEADER 1    /* decode: describe the image; the caller sets dibBits */
#define TAVN_EVT_ROWS 2      /* decode: some rows done (rowsDone) */
#define TAVN_EVT_OUTPUT 3    /* encode: the output queue holds data */
#define TAVN_EVT_QUEUE_FULL 4 /* encode: the output queue reached its end */

/* Output modes (decode depth). */
#define TAVN_OUT_COLORS16 1 /* 4-bit, 16 quantised colours */
#define TAVN_OUT_PALETTE8 2 /* 8-bit, 236 quantised colours (256 grays) */
#define TAVN_OUT_RGB16 3    /* 16-bit 5-5-5, two bytes a pixel */
#define TAVN_OUT_RGB24 4    /* 24-bit blue, green, red */
#define TAVN_OUT_GRAY8 5    /* 8-bit, 256 grays */

/* Subsampling. */
#define TAVN_SUB_111 0 /* every component full size */
#define TAVN_SUB_211 1 /* chroma halved across */
#define TAVN_SUB_411 2 /* chroma halved both ways */

#define TAVN_MAX_SCANS 32
#define TAVN_PASSWORD_MAX 8
#define TAVN_COMMENT_MAX 255

typedef struct TavnScan {
    BYTE count;         /* components in the scan, 1 to 4 */
    BYTE component[4];  /* 0 Y, 1 U (Cb), 2 V (Cr) */
    BYTE ss, se;        /* first and last coefficient */
    BYTE ah, al;        /* high and low bit of successive approximation */
    BYTE pad[3];
} TavnScan;

typedef struct TavnRequestFields {
    DWORD size;       /* TAVN_RECORD_SIZE */
    DWORD version;    /* TAVN_VERSION */
    LONG status;
    DWORD event;
    DWORD outputMode; /* TAVN_OUT_* for decodes */
    char typeCode[4]; /* set by identify: "JPEG", "PROG", ... */

    /* Input queue: the whole file image (decode) */
    BYTE *inStart, *inFront, *inRear, *inEnd;
    /* Output queue: encoded bytes between front and rear; the caller
       drains it and sets front = rear = start. */
    BYTE *outStart, *outFront, *outRear, *outEnd;

    /* Image, filled at the header event of a decode. */
    LONG width, height;
    DWORD components;  /* 1 gray, 3 colour */
    DWORD progressive; /* 1 for a multi-scan file */
    DWORD dpiX, dpiY;  /* 0 when the file gives none */
    WORD bitCount;     /* of the rows the decode writes: 4, 8, 16 or 24 */
    WORD paletteSize;  /* entries of palette[] used */
    BYTE *dibBits;     /* set by the caller: the bottom row */
    LONG dibStride;    /* bytes between rows */
    LONG rowsDone;

    /* Encode: the DIB to code (locked, packed) */
    const BITMAPINFOHEADER *dibHeader;
    DWORD luminance, chrominance, subsample;
    DWORD pic;        /* 1: write the PIC kind */
    DWORD scanCount;
    DWORD outputBytes; /* bytes the codec has produced in all */

    void *state;      /* the codec's own; null between requests */
    char password[TAVN_PASSWORD_MAX + 1];
    char comment[TAVN_COMMENT_MAX + 1];
    TavnScan scans[TAVN_MAX_SCANS];
    RGBQUAD *palette; /* set by the caller: room for 256 entries */
} TavnRequestFields;

/* The record is 1408 bytes on every target; the fields above fit in it. */
typedef union TavnRequest {
    TavnRequestFields f;
    BYTE raw[TAVN_RECORD_SIZE];
} TavnRequest;

#ifdef __cplusplus
static_assert(sizeof(TavnRequest) == TAVN_RECORD_SIZE, "request record is 1408 bytes");
#endif

/* Ordinal 4: fills typeCode (and the image fields) from the input queue.
   Returns 1 when the type is known, 0 otherwise (status set). */
typedef int(WINAPI *TavnIdentifyProc)(TavnRequest *request);
/* Ordinal 6: one step of a request; TAVN_CONTINUE with an event, TAVN_DONE,
   TAVN_FAILED (status set) or TAVN_UNLOAD. */
typedef int(WINAPI *TavnExecuteProc)(TavnRequest *request, DWORD code);

int WINAPI TAVN_Identify(TavnRequest *request);
int WINAPI TAVN_Execute(TavnRequest *request, DWORD code);

/* Largest width x height a decode accepts (native tests and fuzzing lower
   it); returns the previous limit. */
unsigned long long tavn_set_pixel_limit(unsigned long long pixels);

#ifdef __cplusplus
}
#endif

#endif
