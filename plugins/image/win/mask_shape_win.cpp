// The chosen mask shape: its "MASK" resource written to a temporary file
// and loaded from there as a metafile, played by GDI for the preview and
// for the coverage.  Only one file exists at a time: a new choice deletes
// the last one's file, and so does the release after OK or Cancel.
#include <stdint.h>
#include <string.h>

#include "image_win.h"
#include "zynlib.h"

namespace {

char g_path[MAX_PATH];
HMETAFILE g_metafile;

BOOL write_file(const char *path, const void *bytes, DWORD size) {
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, NULL);
    if (f == INVALID_HANDLE_VALUE) return FALSE;
    DWORD written = 0;
    BOOL ok = WriteFile(f, bytes, size, &written, NULL) && written == size;
    CloseHandle(f);
    return ok;
}

BOOL shape_bytes(UINT id, const void **bytes, DWORD *size) {
    HRSRC found = FindResourceA(g_img_module, MAKEINTRESOURCEA(id), "MASK");
    HGLOBAL loaded = found ? LoadResource(g_img_module, found) : NULL;
    *bytes = loaded ? LockResource(loaded) : NULL;
    *size = found ? SizeofResource(g_img_module, found) : 0;
    return *bytes && *size;
}

}  // namespace

// Black (index 0) and white: GDI fills and text go in without shades.
HBITMAP img_mono_section(HDC dc, LONG width, LONG height, void **bits) {
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colors[2];
    } info = {};
    info.h.biSize = sizeof info.h;
    info.h.biWidth = width;
    info.h.biHeight = height;
    info.h.biPlanes = 1;
    info.h.biBitCount = 1;
    info.colors[1] = RGBQUAD{255, 255, 255, 0};
    return CreateDIBSection(dc, (BITMAPINFO *)&info, DIB_RGB_COLORS, bits, NULL, 0);
}

HGLOBAL img_mono_dib(const void *bits, LONG width, LONG height, size_t stride) {
    size_t rows = stride * (size_t)height;
    HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD) + rows);
    BYTE *p = dib ? (BYTE *)GlobalLock(dib) : NULL;
    if (!p) {
        if (dib) GlobalFree(dib);
        return NULL;
    }
    BITMAPINFOHEADER bi = {sizeof bi, width, height, 1, 1, BI_RGB, (DWORD)rows, 0, 0, 2, 0};
    memcpy(p, &bi, sizeof bi);
    RGBQUAD table[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    memcpy(p + sizeof bi, table, sizeof table);
    memcpy(p + sizeof bi + sizeof table, bits, rows);
    GlobalUnlock(dib);
    return dib;
}

BOOL img_shape_choose(UINT id) {
    img_shape_release();
    const void *bytes;
    DWORD size;
    char dir[MAX_PATH];
    DWORD n = GetTempPathA(sizeof dir, dir);
    if (!shape_bytes(id, &bytes, &size) || n == 0 || n >= sizeof dir) return FALSE;
    if (!GetTempFileNameA(dir, "dfh32", 0, g_path)) {
        g_path[0] = '\0';
        return FALSE;
    }
    if (write_file(g_path, bytes, size)) g_metafile = GetMetaFileA(g_path);
    if (g_metafile) return TRUE;
    img_shape_release();
    return FALSE;
}

HMETAFILE img_shape_metafile(void) { return g_metafile; }
const char *img_shape_file(void) { return g_path; }

void img_shape_release(void) {
    if (g_metafile) DeleteMetaFile(g_metafile);
    g_metafile = NULL;
    if (g_path[0]) ZYN_UTI_DeleteFile(g_path);
    g_path[0] = '\0';
}

void img_play_metafile(HDC dc, HMETAFILE mf, int x, int y, int width, int height) {
    int saved = SaveDC(dc);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetViewportOrgEx(dc, x, y, NULL);
    SetViewportExtEx(dc, width, height, NULL);
    PlayMetaFile(dc, mf);
    RestoreDC(dc, saved);
}

int img_metafile_coverage(HMETAFILE mf, LONG width, LONG height, HGLOBAL *coverage) {
    *coverage = NULL;
    uint64_t stride = (((uint64_t)width + 31) >> 5) * 4;
    if (width <= 0 || height <= 0 || stride * (uint64_t)height > 0x7FFFFFFFu) return IMG_NO_MEMORY;
    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(NULL, screen);
    void *bits = NULL;
    HBITMAP section = dc ? img_mono_section(dc, width, height, &bits) : NULL;
    int status = IMG_NO_MEMORY;
    if (section) {
        HGDIOBJ old = SelectObject(dc, section);
        memset(bits, 0xFF, (size_t)(stride * (uint64_t)height));
        img_play_metafile(dc, mf, 0, 0, width, height);
        GdiFlush();
        *coverage = img_mono_dib(bits, width, height, (size_t)stride);
        if (*coverage) status = IMG_OK;
        SelectObject(dc, old);
        DeleteObject(section);
    }
    if (dc) DeleteDC(dc);
    return status;
}
