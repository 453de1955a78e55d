// The built-in shapes and their coverage: the metafile played into an
// 8-bit raster of the image's size that starts white.
#include <string.h>

#include "mask_shape_data.h"
#include "polygon_fill.h"

extern "C" const BYTE *img_mask_shape(UINT id, size_t *size) {
    if (id < IMG_MASK_FIRST_SHAPE || id >= IMG_MASK_FIRST_SHAPE + IMG_MASK_SHAPES) return nullptr;
    const ImgShapeData &d = img_shape_data[id - IMG_MASK_FIRST_SHAPE];
    *size = d.size;
    return d.bytes;
}

extern "C" int img_mask_shape_coverage(UINT id, LONG width, LONG height, HGLOBAL *coverage) {
    *coverage = nullptr;
    size_t size;
    const BYTE *wmf = img_mask_shape(id, &size);
    if (!wmf) return IMG_BAD_PARAMS;
    ImgTarget t;
    int status = img_target_new(nullptr, width, height, 8, 256, &t);
    if (status != IMG_OK) return status;
    for (int i = 0; i < 256; i++) t.table[i] = RGBQUAD{(BYTE)i, (BYTE)i, (BYTE)i, 0};
    memset(t.bits, 255, t.stride * (size_t)height);
    ImgRaster raster = {t.bits, t.stride, width, height};
    if (!img_metafile_play(wmf, size, &raster)) {
        img_target_discard(&t);
        return IMG_NO_MEMORY;
    }
    return img_target_finish(&t, coverage);
}
