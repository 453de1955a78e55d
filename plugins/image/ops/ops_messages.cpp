// Which text of the plug-in's table each outcome shows.
#include "image_strings.h"
#include "ops_internal.h"

namespace {

struct OperationTexts {
    UINT noImage, noMemory, badParams;
};

// In the order of ImgOperation.
const OperationTexts kTexts[] = {
    {IDS_IMG_NO_IMAGE_INVERT, IDS_IMG_NOMEM_INVERT, 0},
    {IDS_IMG_NO_IMAGE_FLIP, IDS_IMG_NOMEM_FLIP, 0},
    {IDS_IMG_NO_IMAGE_MIRROR, IDS_IMG_NOMEM_MIRROR, 0},
    {IDS_IMG_NO_IMAGE_CROP, IDS_IMG_NOMEM_CROP, IDS_IMG_CROP_TOO_SMALL},
    {IDS_IMG_NO_IMAGE_SCALE, IDS_IMG_NOMEM_SCALE, IDS_IMG_ZERO_SIZE},
    {IDS_IMG_NO_IMAGE_SCALE, IDS_IMG_NOMEM_COMPLETE, IDS_IMG_ZERO_SIZE},
    {IDS_IMG_NO_IMAGE_ROTATE, IDS_IMG_NOMEM_ROTATE, IDS_IMG_ANGLE_RANGE},
    {IDS_IMG_NO_IMAGE_FRAME, IDS_IMG_NOMEM_FRAME, 0},
    {IDS_IMG_NO_IMAGE_TILE, IDS_IMG_NOMEM_TILE, IDS_IMG_TILE_TOO_LARGE},
    {0, IDS_IMG_NOMEM_MASK, 0},
    {0, IDS_IMG_NOMEM_MASK_SHAPE, 0},
};
const int kOperations = (int)(sizeof kTexts / sizeof kTexts[0]);

#ifdef _WIN32
HINSTANCE g_instance;
#endif

}  // namespace

extern "C" UINT img_message_id(ImgOperation op, int status) {
    if ((int)op < 0 || (int)op >= kOperations) return 0;
    switch (status) {
        case IMG_NO_MEMORY: return kTexts[op].noMemory;
        case IMG_BAD_PARAMS: return kTexts[op].badParams;
        case IMG_BAD_IMAGE: return IDS_IMG_ILLEGAL_IMAGE;
        default: return 0;
    }
}

extern "C" UINT img_no_image_message_id(ImgOperation op) {
    return (int)op >= 0 && (int)op < kOperations ? kTexts[op].noImage : 0;
}

#ifdef _WIN32
extern "C" void img_set_instance(HINSTANCE module) { g_instance = module; }
extern "C" HINSTANCE img_instance(void) { return g_instance ? g_instance : GetModuleHandleA(NULL); }
#else
extern "C" HINSTANCE img_instance(void) { return COMPAT_MODULE_INSTANCE(image_strings); }
#endif
