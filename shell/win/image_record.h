/* The image record of an image window: fifteen 32-bit words, read and
   written by byte offset from outside (host messages 0 and 1), so the
   offsets below are fixed.  Slot 0 of the window's extra bytes holds the
   current record, slot 1 the undo record. */
#ifndef LUMACAST_IMAGE_RECORD_H
#define LUMACAST_IMAGE_RECORD_H

#include <windows.h>

#define IR_WORDS 15
#define IR_FLAGS 0
#define IR_IMAGE 4
#define IR_OWNED_A 8
#define IR_SCREEN_BITMAP 12
#define IR_PALETTE 16
#define IR_REPAINT_COUNT 20
#define IR_DEPTH 24
#define IR_COMPRESSED 28
#define IR_FORMAT 32
#define IR_OPTIONS_RESET 36
#define IR_MEDIA_POS 40
#define IR_SCROLL_X 44
#define IR_SCROLL_Y 48
#define IR_RESERVED 52
#define IR_OWNED_B 56

#define IRF_MODIFIED 0x1
#define IRF_NEW 0x2
#define IRF_COLOR 0x4
#define IRF_RASTER 0x10
#define IRF_VECTOR 0x20
#define IRF_MOVIE 0x40
#define IRF_WAVE 0x200
#define IRF_MIDI 0x400
#define IRF_MEDIA (IRF_MOVIE | IRF_WAVE | IRF_MIDI)

#define IMAGE_SLOT_RECORD 0
#define IMAGE_SLOT_UNDO 1

/* Word at a byte offset of the record of slot `slot`; 0 when the window
   has no such record. */
static inline DWORD image_record_word(HWND w, int slot, int offset) {
  const DWORD *rec = (const DWORD *)GetWindowLongPtrA(w, slot * (int)sizeof(LONG_PTR));
  return rec ? rec[offset / 4] : 0;
}

#endif
