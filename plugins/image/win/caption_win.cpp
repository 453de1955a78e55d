// The caption's coverage: the text in the record's font, black on white,
// at its place on the framed image.  It is drawn straight into a 1-bit
// section of the image's size: a metafile's 16-bit coordinates would wrap
// on images wider or taller than 32767 pixels.
#include <stdint.h>
#include <string.h>

#include "image_win.h"

namespace {

LONG place(WORD alignment, WORD centre, WORD far_end, LONG room, LONG extent) {
    if (alignment & centre) return (room - extent) / 2;
    if (alignment & far_end) return room - extent;
    return 0;
}

}  // namespace

int img_caption_coverage(const ImgFrameRecord *r, LONG width, LONG height, HGLOBAL *coverage) {
    *coverage = NULL;
    uint64_t stride = (((uint64_t)width + 31) >> 5) * 4;
    if (width <= 0 || height <= 0 || stride * (uint64_t)height > 0x7FFFFFFFu) return IMG_NO_MEMORY;
    const char *text = r->caption ? r->caption : "";
    int length = lstrlenA(text);
    HFONT font = CreateFontIndirectA(&r->font);
    if (!font) return IMG_BAD_PARAMS;
    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(NULL, screen);
    void *bits = NULL;
    HBITMAP section = dc ? img_mono_section(dc, width, height, &bits) : NULL;
    int status = dc ? IMG_NO_MEMORY : IMG_BAD_PARAMS;
    if (section) {
        HGDIOBJ oldBitmap = SelectObject(dc, section);
        HGDIOBJ oldFont = SelectObject(dc, font);
        memset(bits, 0xFF, (size_t)(stride * (uint64_t)height));
        SIZE extent = {0, 0};
        BOOL drawn = GetTextExtentPoint32A(dc, text, length, &extent);
        if (drawn) {
            LONG x = place(r->alignment, IMG_ALIGN_HCENTER, IMG_ALIGN_RIGHT, width, extent.cx);
            LONG y = place(r->alignment, IMG_ALIGN_VCENTER, IMG_ALIGN_BOTTOM, height, extent.cy);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(0, 0, 0));
            SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
            drawn = TextOutA(dc, x, y, text, length);
            GdiFlush();
        }
        if (!drawn)
            status = IMG_BAD_PARAMS;
        else if ((*coverage = img_mono_dib(bits, width, height, (size_t)stride)) != NULL)
            status = IMG_OK;
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteObject(section);
    }
    if (dc) DeleteDC(dc);
    DeleteObject(font);
    return status;
}
