#include "shell/imagewin/record.h"

#include <stdio.h>
#include <string.h>

extern "C" int record_offset_valid(DWORD offset) { return offset <= IR_OWNED_B && offset % 4 == 0; }

extern "C" ULONG_PTR record_get(const ImageRecord *r, int offset) {
    if (!r || !record_offset_valid((DWORD)offset)) return 0;
    return r->word[offset / 4];
}

extern "C" void record_set(ImageRecord *r, int offset, ULONG_PTR value) {
    if (r && record_offset_valid((DWORD)offset)) r->word[offset / 4] = value;
}

extern "C" DWORD record_flags(const ImageRecord *r) { return (DWORD)record_get(r, IR_FLAGS); }

extern "C" void record_change_flags(ImageRecord *r, DWORD bits, int on) {
    DWORD f = record_flags(r);
    record_set(r, IR_FLAGS, on ? (f | bits) : (f & ~bits));
}

extern "C" void record_init_fresh(ImageRecord *r) {
    memset(r, 0, sizeof *r);
    record_set(r, IR_FLAGS, IRF_NEW);
    record_set(r, IR_FORMAT, IR_NO_FORMAT);
}

static const int OWNED_OFFSETS[] = {IR_IMAGE, IR_OWNED_A, IR_SCREEN_BITMAP, IR_PALETTE, IR_OWNED_B};

extern "C" void record_copy_for_undo(ImageRecord *dst, const ImageRecord *src) {
    *dst = *src;
    for (int off : OWNED_OFFSETS) record_set(dst, off, 0);
}

extern "C" void record_take_handles(ImageRecord *r, RecordHandles *out) {
    out->image = (HGLOBAL)record_get(r, IR_IMAGE);
    out->ownedA = (HGLOBAL)record_get(r, IR_OWNED_A);
    out->screenBitmap = record_get(r, IR_SCREEN_BITMAP);
    out->palette = record_get(r, IR_PALETTE);
    out->ownedB = (HGLOBAL)record_get(r, IR_OWNED_B);
    for (int off : OWNED_OFFSETS) record_set(r, off, 0);
}

extern "C" void record_free_blocks(RecordHandles *h) {
    HGLOBAL *blocks[] = {&h->image, &h->ownedA, &h->ownedB};
    for (HGLOBAL *b : blocks) {
        if (*b) GlobalFree(*b);
        *b = NULL;
    }
}

extern "C" int depth_level_of_bits(DWORD bits) {
    if (bits <= 1) return 1;
    if (bits <= 4) return 4;
    if (bits <= 8) return 8;
    if (bits <= 16) return 16;
    if (bits <= 24) return 24;
    return 32;
}

extern "C" int depth_level_for_image(int currentLevel, int dibBits) {
    if (currentLevel == dibBits || (currentLevel == 16 && dibBits == 24)) return currentLevel;
    return depth_level_of_bits((DWORD)dibBits);
}

extern "C" int new_window_title(const char *base, unsigned n, char *out, size_t size) {
    int w = snprintf(out, size, "%s%u", base, n);
    return w > 0 && (size_t)w < size;
}
