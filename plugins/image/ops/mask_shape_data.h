/* The metafiles of the mask shapes, generated at build time by
   shapes/gen_masks.py (the DLL carries the same files as "MASK"
   resources). */
#ifndef IMAGE_MASK_SHAPE_DATA_H
#define IMAGE_MASK_SHAPE_DATA_H

#include <stddef.h>

#include "image_ops.h"

typedef struct ImgShapeData {
    unsigned id;
    const unsigned char *bytes;
    size_t size;
} ImgShapeData;

#ifdef __cplusplus
extern "C" {
#endif
extern const ImgShapeData img_shape_data[IMG_MASK_SHAPES];
#ifdef __cplusplus
}
#endif

#endif
