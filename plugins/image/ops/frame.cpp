// Frame: a larger canvas painted in the fill color (the outline color on
// its outermost pixels), with the image placed `bottom` rows up and
// `left` pixels in.  Margins are full 32-bit numbers and the canvas is
// sized in 64 bits: 16-bit sums wrapped into a canvas narrower than the
// copy.
#include <stdlib.h>
#include <string.h>

#include "ops_internal.h"

namespace {

// One canvas row of a color: an index for palette images, or blue, green,
// red with the fourth byte 0.
void paint_row(BYTE *row, const ImgTarget &d, const ImgColor &color, DWORD colors) {
    if (d.bitCount <= 8) {
        BYTE index = (BYTE)(color.index < colors ? color.index : 0);
        for (LONG x = 0; x < d.width; x++) zyn_index_put(row, d.bitCount, (size_t)x, index);
        return;
    }
    size_t px = d.bitCount / 8;
    BYTE pixel[4] = {color.blue, color.green, color.red, 0};
    for (LONG x = 0; x < d.width; x++) memcpy(row + (size_t)x * px, pixel, px);
}

void put_pixel(BYTE *row, const ImgTarget &d, LONG x, const BYTE *pattern) {
    if (d.bitCount <= 8)
        zyn_index_put(row, d.bitCount, (size_t)x, zyn_index_at(pattern, d.bitCount, (size_t)x));
    else
        memcpy(row + (size_t)x * (d.bitCount / 8), pattern + (size_t)x * (d.bitCount / 8), d.bitCount / 8);
}

// Rows beside the image get only their margins: the image covers the rest
// (whole bytes only; packed rows are painted whole).
void paint_canvas(ImgTarget &d, const ImgFrameParams &p, const ImgSource &s, BYTE *fill, BYTE *outline) {
    paint_row(fill, d, p.fill, s.colors);
    bool framed = p.style == IMG_FRAME_OUTLINE;
    if (framed) paint_row(outline, d, p.outline, s.colors);
    size_t px = d.bitCount / 8, left = p.left * px, right = (size_t)(p.left + s.width) * px;
    for (LONG y = 0; y < d.height; y++) {
        BYTE *row = img_target_row(&d, y);
        bool edge = framed && (y == 0 || y == d.height - 1);
        bool beside = px && y >= (LONG)p.bottom && y < (LONG)p.bottom + s.height;
        const BYTE *paint = edge ? outline : fill;
        if (!beside) {
            memcpy(row, paint, d.stride);
        } else {
            memcpy(row, paint, left);
            memcpy(row + right, paint + right, d.stride - right);  // the padding too
        }
        // Where a margin is 0 the image covers the outline.
        if (framed && !edge && (!beside || p.left > 0)) put_pixel(row, d, 0, outline);
        if (framed && !edge && (!beside || p.right > 0)) put_pixel(row, d, d.width - 1, outline);
    }
}

// The canvas size, or IMG_UNCHANGED / IMG_NO_MEMORY.
int canvas_size(const ImgSource &src, const ImgFrameParams *p, LONG *width, LONG *height) {
    uint64_t w = (uint64_t)src.width + p->left + p->right, h = (uint64_t)src.height + p->top + p->bottom;
    if (w == (uint64_t)src.width && h == (uint64_t)src.height) return IMG_UNCHANGED;
    if (w > IMG_MAX_SIDE || h > IMG_MAX_SIDE) return IMG_NO_MEMORY;
    *width = (LONG)w, *height = (LONG)h;
    return IMG_OK;
}

}  // namespace

extern "C" int img_frame(HGLOBAL dib, const ImgFrameParams *p, HGLOBAL *out) {
    *out = nullptr;
    if (p->style != IMG_FRAME_FILLED && p->style != IMG_FRAME_OUTLINE) return IMG_BAD_PARAMS;
    ImgSource src;
    int status = img_source_open(dib, &src);
    if (status != IMG_OK) return status;
    LONG width, height;
    ImgTarget dst;
    status = canvas_size(src, p, &width, &height);
    if (status == IMG_OK) status = img_target_like(&src, width, height, &dst);
    BYTE *fill = nullptr, *outline = nullptr;
    if (status == IMG_OK) {
        fill = static_cast<BYTE *>(malloc(dst.stride));
        outline = static_cast<BYTE *>(malloc(dst.stride));
        if (!fill || !outline) {
            img_target_discard(&dst);
            status = IMG_NO_MEMORY;
        }
    }
    if (status == IMG_OK) {
        memset(fill, 0, dst.stride);
        memset(outline, 0, dst.stride);
        paint_canvas(dst, *p, src, fill, outline);
        for (LONG y = 0; y < src.height; y++)
            img_place_row(img_source_row(&src, y), img_target_row(&dst, (LONG)p->bottom + y), p->left, src.width,
                          src.bitCount);
        status = img_target_finish(&dst, out);
    }
    free(fill);
    free(outline);
    img_source_close(&src);
    return status;
}

// The block grows and the rows move up to their places, last first (each
// goes no earlier than it was), then the margins are painted around them.
extern "C" int img_frame_in_place(HGLOBAL *dib, const ImgFrameParams *p) {
    if (p->style != IMG_FRAME_FILLED && p->style != IMG_FRAME_OUTLINE) return IMG_BAD_PARAMS;
    ImgSource src;
    int status = img_source_open(*dib, &src);
    if (status != IMG_OK) return status;
    LONG width, height;
    size_t stride = 0;
    status = canvas_size(src, p, &width, &height);
    ImgSource old = src;
    size_t offset = (size_t)(src.bits - reinterpret_cast<const BYTE *>(src.header));
    img_source_close(&src);
    if (status != IMG_OK) return status;
    if (old.bitCount < 8) {
        HGLOBAL out = nullptr;
        status = img_frame(*dib, p, &out);
        if (status == IMG_OK) GlobalFree(*dib), *dib = out;
        return status;
    }
    uint64_t pixels = img_stride(width, old.bitCount, &stride) ? (uint64_t)stride * (uint64_t)height : UINT64_MAX;
    BYTE *fill = static_cast<BYTE *>(calloc(1, stride ? stride : 1));
    BYTE *outline = static_cast<BYTE *>(calloc(1, stride ? stride : 1));
    HGLOBAL grown = fill && outline && pixels <= 0xFFFFFFFFu && offset + pixels <= (uint64_t)SIZE_MAX
                        ? GlobalReAlloc(*dib, (size_t)(offset + pixels), GMEM_MOVEABLE)
                        : nullptr;
    if (grown) {
        *dib = grown;
        BYTE *block = static_cast<BYTE *>(GlobalLock(grown));
        BYTE *bits = block + offset;
        size_t px = old.bitCount / 8;
        for (LONG y = old.height; y-- > 0;)
            memmove(bits + (size_t)(p->bottom + y) * stride + p->left * px, bits + (size_t)y * old.stride,
                    (size_t)old.width * px);
        BITMAPINFOHEADER *h = reinterpret_cast<BITMAPINFOHEADER *>(block);
        h->biWidth = width;
        h->biHeight = height;
        h->biSizeImage = (DWORD)pixels;
        ImgTarget t = {grown, h, nullptr, bits, stride, width, height, old.bitCount};
        paint_canvas(t, *p, old, fill, outline);
        GlobalUnlock(grown);
    }
    free(fill);
    free(outline);
    return grown ? IMG_OK : IMG_NO_MEMORY;
}
