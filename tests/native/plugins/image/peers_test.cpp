// Invert, flip, mirror and crop against netpbm and vips, which compute the
// same pixels, at every depth and at odd widths.
#include "image_test_support.h"

namespace {

struct Peers : ScratchTest {};

struct PeerCase {
    const char *name;
    int (*op)(HGLOBAL, HGLOBAL *);
    const char *netpbm, *vips;
};

int invert(HGLOBAL d, HGLOBAL *o) { return img_invert(d, nullptr, o); }
int crop(HGLOBAL d, HGLOBAL *o) {
    ImgCropParams p = {3, 1, 2, 2};  // the peers count rows from the top
    return img_crop(d, &p, o);
}

TEST_F(Peers, ReshapesMatchNetpbmAndVips) {
    SKIP_WITHOUT("pamflip");
    bool vips = have_program("vips");
    const PeerCase cases[] = {
        {"invert", invert, "pnminvert {in} > {out}", "vips invert {in} {out}"},
        {"flip", img_flip, "pamflip -tb {in} > {out}", "vips flip {in} {out} vertical"},
        {"mirror", img_mirror, "pamflip -lr {in} > {out}", "vips flip {in} {out} horizontal"},
        {"crop", crop, "pamcut -left 3 -top 1 -width 6 -height 4 {in} > {out}", "vips extract_area {in} {out} 3 1 6 4"},
    };
    for (int bpp : kDepths)
        for (int w : {11, 9}) {
            HGLOBAL dib = noise_dib(w, 7, bpp);
            Pixels src = pixels_of(dib);
            for (const PeerCase &c : cases) {
                if (c.op == crop && w != 11) continue;
                Picture ours = picture_of(result_of([&](HGLOBAL *o) { return c.op(dib, o); }));
                EXPECT_TRUE(ours == peer(dir, src, c.netpbm)) << c.name << " " << bpp << " bits, " << w << " wide";
                if (vips) {
                    EXPECT_TRUE(ours == peer(dir, src, c.vips)) << c.name << " " << bpp << " bits (vips)";
                }
            }
            GlobalFree(dib);
        }
}

}  // namespace
