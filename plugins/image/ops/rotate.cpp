// Rotate: the angle decides between nothing, quarter turns and a free
// rotation.  A positive angle turns clockwise as displayed; the free
// rotation works counter-clockwise, by 360 - a for a positive a.
#include "rotate_free.h"

extern "C" int img_rotate(HGLOBAL dib, const ImgRotateParams *p, const ImgProgress *progress, HGLOBAL *out) {
    *out = nullptr;
    if (p->angle < -360 || p->angle > 360) return IMG_BAD_PARAMS;
    int a = p->angle % 360;
    if (a == 0) return IMG_UNCHANGED;
    if (a % 90 == 0) return img_rotate_quarter(dib, (a < 0 ? a + 360 : a) / 90, out);
    ImgSource src;
    int status = img_source_open(dib, &src);
    if (status != IMG_OK) return status;
    status = img_rotate_free(&src, a < 0 ? -a : 360 - a, p->quality, &p->background, progress, out);
    img_source_close(&src);
    return status;
}
