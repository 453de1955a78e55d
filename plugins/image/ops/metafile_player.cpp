// A player for the few records of our mask shapes, natively.  The bytes
// are a standard memory-form metafile, so GDI's PlayMetaFile draws the
// same shapes in the Windows build; here every record is bounded by the
// block and skipped unless it is one of ours.
#include <stdlib.h>
#include <string.h>

#include "polygon_fill.h"

namespace {

enum : WORD {
    kEof = 0x0000,
    kSetPolyFillMode = 0x0106,
    kSelectObject = 0x012D,
    kDeleteObject = 0x01F0,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kCreateBrush = 0x02FC,
    kPolygon = 0x0324,
    kPolyPolygon = 0x0538,
};

// Records that take a slot in the object table, brushes or not.
bool creates_object(WORD f) {
    return f == kCreateBrush || f == 0x02FA || f == 0x02FB || f == 0x00F7 || f == 0x01F9 || f == 0x0142 ||
           f == 0x06FF;
}

const unsigned kMaxObjects = 1024;

struct Object {
    bool used, brush, solid;
    BYTE value;  // what a solid brush paints: 0 for black
};

struct Player {
    const BYTE *data;
    size_t size;
    const ImgRaster *raster;
    ImgWindow window = {0, 0, 1, 1};
    int mode = IMG_FILL_ALTERNATE;
    Object objects[kMaxObjects];
    unsigned objectCount = 0;
    Object brush = {true, true, true, 255};  // the default white brush
};

WORD word_at(const BYTE *p) { return (WORD)(p[0] | (p[1] << 8)); }
int32_t short_at(const BYTE *p) { return (int16_t)word_at(p); }

BYTE paint_value(DWORD colorref) {
    unsigned r = colorref & 0xFF, g = (colorref >> 8) & 0xFF, b = (colorref >> 16) & 0xFF;
    if ((r | g | b) == 0) return 0;
    unsigned gray = (r * 77 + g * 150 + b * 29 + 128) >> 8;
    return (BYTE)(gray ? gray : 1);
}

void create_object(Player &pl, WORD f, const BYTE *params, size_t words) {
    for (unsigned i = 0; i < pl.objectCount; i++) {
        if (pl.objects[i].used) continue;
        Object o = {true, f == kCreateBrush, false, 255};
        if (o.brush && words >= 3) {
            DWORD color = word_at(params + 2) | ((DWORD)word_at(params + 4) << 16);
            o.solid = word_at(params) == 0;  // BS_SOLID; hollow and hatched brushes paint nothing here
            o.value = paint_value(color);
        }
        pl.objects[i] = o;
        return;
    }
}

// counts words of counts, then the points, all inside the record.
int fill(Player &pl, const BYTE *counts, uint32_t polygons, const BYTE *pts, size_t pointWords) {
    if (!pl.brush.brush || !pl.brush.solid || !polygons) return 1;
    uint32_t *n = static_cast<uint32_t *>(malloc(polygons * sizeof(uint32_t)));
    size_t total = 0;
    for (uint32_t i = 0; n && i < polygons; i++) total += n[i] = word_at(counts + 2 * i);
    if (!n || total * 2 > pointWords) {
        free(n);
        return n != nullptr;  // a record claiming more points than it holds draws nothing
    }
    ImgPoint *points = static_cast<ImgPoint *>(malloc((total ? total : 1) * sizeof(ImgPoint)));
    int ok = points != nullptr;
    for (size_t i = 0; ok && i < total; i++) points[i] = ImgPoint{short_at(pts + 4 * i), short_at(pts + 4 * i + 2)};
    if (ok) ok = img_fill_polygons(points, n, polygons, pl.mode, &pl.window, pl.raster, pl.brush.value);
    free(points);
    free(n);
    return ok;
}

int play_record(Player &pl, WORD f, const BYTE *p, size_t words) {
    switch (f) {
        case kSetWindowOrg:
            if (words >= 2) pl.window.orgY = short_at(p), pl.window.orgX = short_at(p + 2);
            return 1;
        case kSetWindowExt:
            if (words >= 2) pl.window.extY = short_at(p), pl.window.extX = short_at(p + 2);
            return 1;
        case kSetPolyFillMode:
            if (words >= 1) pl.mode = word_at(p) == IMG_FILL_WINDING ? IMG_FILL_WINDING : IMG_FILL_ALTERNATE;
            return 1;
        case kSelectObject:
            if (words >= 1 && word_at(p) < pl.objectCount && pl.objects[word_at(p)].used &&
                pl.objects[word_at(p)].brush)
                pl.brush = pl.objects[word_at(p)];
            return 1;
        case kDeleteObject:
            if (words >= 1 && word_at(p) < pl.objectCount) pl.objects[word_at(p)].used = false;
            return 1;
        case kPolygon:
            return words >= 1 ? fill(pl, p, 1, p + 2, words - 1) : 1;
        case kPolyPolygon: {
            if (words < 1) return 1;
            uint32_t polygons = word_at(p);
            return polygons + 1 <= words ? fill(pl, p + 2, polygons, p + 2 + 2 * polygons, words - 1 - polygons) : 1;
        }
        default:
            if (creates_object(f)) create_object(pl, f, p, words);
            return 1;
    }
}

}  // namespace

int img_metafile_play(const BYTE *data, size_t size, const ImgRaster *raster) {
    const size_t kHeader = 18;
    if (!data || size < kHeader) return 0;
    WORD type = word_at(data), headerWords = word_at(data + 2), version = word_at(data + 4);
    if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300)) return 0;
    Player pl;
    memset(pl.objects, 0, sizeof pl.objects);
    pl.data = data;
    pl.size = size;
    pl.raster = raster;
    pl.objectCount = word_at(data + 10) < kMaxObjects ? word_at(data + 10) : kMaxObjects;
    int ok = 1;
    for (size_t at = kHeader; ok && at + 6 <= size;) {
        uint64_t words = (uint64_t)word_at(data + at) | ((uint64_t)word_at(data + at + 2) << 16);
        WORD f = word_at(data + at + 4);
        if (f == kEof) break;
        if (words < 3 || words * 2 > size - at) break;  // a record cut short ends the picture
        ok = play_record(pl, f, data + at + 6, (size_t)(words - 3));
        at += (size_t)words * 2;
    }
    return ok;
}
