/* Shared inside the codec: the libjpeg error trap, the PIC container and
   the per-request state. */
#ifndef TAVN13_INTERNAL_H
#define TAVN13_INTERNAL_H

#include <setjmp.h>
#include <stdio.h>

#include <jpeglib.h>
#include <jerror.h>

#include "tavn13.h"

/* libjpeg reports fatal errors through error_exit; ours jumps back to the
   request with the reason kept. */
typedef struct TavnErrorTrap {
    struct jpeg_error_mgr pub;
    jmp_buf back;
    int outOfMemory;
} TavnErrorTrap;

void tavn_trap_errors(TavnErrorTrap *trap);

/* PIC: "OVPIC" 0x1A, version, flags, payload length, salt, check, then the
   JPEG stream; with a password the stream is XOR-ed with a key stream drawn
   from the password and salt, and the check word is the password's
   fingerprint, so the stream is useless without the password. */
#define TAVN_PIC_HEADER 20
#define TAVN_PIC_LOCKED 1

int tavn_is_pic(const BYTE *data, size_t size);
int tavn_pic_locked(const BYTE *data);
/* The JPEG stream inside a PIC, in a new malloc block; status set and null
   on a damaged container or a wrong or missing password. */
BYTE *tavn_pic_open(const BYTE *data, size_t size, const char *password, size_t *jpegSize, LONG *status);
/* Wraps a JPEG stream; a new malloc block, null when memory is short. */
BYTE *tavn_pic_wrap(const BYTE *jpeg, size_t size, const char *password, size_t *picSize);

/* Bytes between front and rear of the input queue. */
size_t tavn_input(const TavnRequest *r, const BYTE **data);

int tavn_decode_step(TavnRequest *r, DWORD code);
int tavn_encode_step(TavnRequest *r, DWORD code);
void tavn_decode_free(TavnRequest *r);
void tavn_encode_free(TavnRequest *r);
unsigned long long tavn_pixel_limit(void);

/* Which request the state belongs to. */
#define TAVN_STATE_DECODE 0x44454344u
#define TAVN_STATE_ENCODE 0x454e4344u

#endif
