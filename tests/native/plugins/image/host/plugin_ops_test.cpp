// The operations in their common frame against a recording host: the
// progress steps, the new depth in info word 24, the texts of each
// failure, the gray flag, and what reaches the window.
#include <gtest/gtest.h>

#include "codec_images.h"
#include "fake_host.h"

namespace {

HGLOBAL picture(int w, int h, int bpp, bool grayTable = false) {
    return make_dib(w, h, bpp, bpp <= 8 ? 1 << bpp : 0, [](int x, int y) { return (unsigned)(x * 7 + y * 3); },
                    grayTable);
}

struct Ready : FakeHost {
    HWND w;
    explicit Ready(HGLOBAL dib, DWORD flags = 0x4) {
        EXPECT_EQ(init(), 1);
        w = add_window(dib, flags);
        img_plugin_activate(&plugin, w, 1);
        clear();
    }
    // Runs table entry `entry` (0 invert ... 9 mask) as the menu would.
    void run(int entry) {
        LRESULT result = 0;
        EXPECT_EQ(img_plugin_menu_handler(&plugin, plugin.commands[entry].id, &result), IMG_HANDLED);
    }
};

enum { INVERT = 0, FLIP = 1, MIRROR = 2, CROP = 4, SCALE = 5, ROTATE = 6, FRAME = 7, TILE = 8, MASK = 9 };

BITMAPINFOHEADER header_of(HGLOBAL dib) {
    BITMAPINFOHEADER bi = {};
    ZYN_DIB_Info(dib, &bi);
    return bi;
}

}  // namespace

TEST(ImagePluginOps, InvertStepsItsProgressOnTheOwnersBar) {
    Ready h(picture(7, 40, 24));
    HGLOBAL before = h.image(h.w);
    h.run(INVERT);
    std::vector<std::string> expected = {"wait", "copy", "start Inverting image (owner)", "range 0-40", "step 0",
                                         "step 16", "step 32", "step 39", "step 40", "end", "replace",
                                         "cursor back"};
    EXPECT_EQ(h.calls, expected);
    EXPECT_EQ(h.windows[h.w].undo.back(), before) << "the window keeps the old image";
    EXPECT_TRUE(h.boxes.empty());

    Ready p(picture(7, 40, 8));
    p.run(INVERT);
    EXPECT_TRUE(p.calls_of("start").empty()) << "a palette image only inverts its table";
    EXPECT_EQ(p.calls_of("replace").size(), 1u);
}

TEST(ImagePluginOps, EveryOperationButMaskSaysWhenThereIsNoImage) {
    Ready h(nullptr);
    for (int entry : {INVERT, FLIP, MIRROR, CROP, SCALE, ROTATE, FRAME, TILE, MASK}) h.run(entry);
    EXPECT_EQ(h.boxes, (std::vector<std::string>{
                           "Image: No image in window, cannot invert", "Image: No image in window, cannot flip",
                           "Image: No image in window, cannot mirror", "Image: No image in window, cannot crop",
                           "Image: No image in window, cannot scale", "Image: No image in window, cannot rotate",
                           "Image: No image in window, cannot frame", "Image: No image in window, cannot tile"}));
    EXPECT_TRUE(h.calls_of("dialog").empty());

    Ready p(picture(4, 4, 24));
    p.windows[p.w].palette = false;
    p.run(CROP);
    EXPECT_EQ(p.boxes, (std::vector<std::string>{"Image: No image in window, cannot crop"})) << "no palette";
}

// "Bit 4 clear means gray" is the flag value 0x4: a palette image whose
// window has it set is resampled in color.
TEST(ImagePluginOps, HighQualityScaleReadsTheColorFlagValue4) {
    for (DWORD flags : {0x4u, 0x10u}) {
        Ready h(picture(20, 10, 8), flags);
        h.dialog = [](int, ImgPlugin *, HGLOBAL, void *out) {
            ImgScaleParams *s = (ImgScaleParams *)out;
            s->width = 10, s->height = 5, s->quality = IMG_QUALITY_HIGH;
            return 1;
        };
        h.run(SCALE);
        EXPECT_EQ(h.calls_of("flag 4").size(), 1u);
        BITMAPINFOHEADER bi = header_of(h.image(h.w));
        EXPECT_EQ(bi.biWidth, 10);
        EXPECT_EQ(bi.biBitCount, flags == 0x4 ? 24 : 8) << flags;
        EXPECT_EQ(h.calls_of("info"), (std::vector<std::string>{flags == 0x4 ? "info 24=24" : "info 24=8"}));
        EXPECT_EQ(h.calls_of("start"), (std::vector<std::string>{"start High quality scaling (frame)"}));
    }
    // Low quality keeps the depth and the info word; the same size changes nothing.
    Ready h(picture(20, 10, 8));
    int size = 6;
    h.dialog = [&size](int, ImgPlugin *, HGLOBAL, void *out) {
        ImgScaleParams *s = (ImgScaleParams *)out;
        s->width = size, s->height = 10, s->quality = IMG_QUALITY_LOW;
        return 1;
    };
    h.run(SCALE);
    EXPECT_EQ(header_of(h.image(h.w)).biBitCount, 8);
    EXPECT_TRUE(h.calls_of("info").empty());
    size = 6;
    h.clear();
    h.run(SCALE);
    EXPECT_TRUE(h.calls_of("replace").empty());
}

TEST(ImagePluginOps, ScaleAndRotateRefuseWithTheirMemoryTexts) {
    Ready h(picture(8, 8, 24));
    h.dialog = [](int which, ImgPlugin *p, HGLOBAL, void *out) {
        if (which == IMG_DIALOG_SCALE) {
            ImgScaleParams *s = (ImgScaleParams *)out;
            s->width = IMG_MAX_SIDE + 1, s->height = 8;
        } else {
            p->rotate.angle = 45;
        }
        return 1;
    };
    h.run(SCALE);
    h.plugin.settings.scaleQuality = IMG_QUALITY_HIGH;
    h.run(SCALE);
    EXPECT_EQ(h.boxes, (std::vector<std::string>{"Not enough memory to complete operation",
                                                 "Not enough memory to scale image"}));
    EXPECT_TRUE(h.calls_of("replace").empty());
}

TEST(ImagePluginOps, RotateSetsTheNewDepthAndQuarterTurnsStayExact) {
    Ready h(picture(6, 4, 4));
    h.dialog = [](int, ImgPlugin *p, HGLOBAL, void *) {
        p->rotate.angle = -90;
        p->rotate.quality = IMG_QUALITY_HIGH;
        return 1;
    };
    h.run(ROTATE);
    BITMAPINFOHEADER bi = header_of(h.image(h.w));
    EXPECT_EQ(bi.biWidth, 4);
    EXPECT_EQ(bi.biHeight, 6);
    EXPECT_EQ(h.calls_of("info"), (std::vector<std::string>{"info 24=4"}));

    Ready g(picture(6, 4, 8, true));
    g.dialog = [](int, ImgPlugin *p, HGLOBAL, void *) {
        p->rotate.angle = 30;
        p->rotate.quality = IMG_QUALITY_HIGH;
        return 1;
    };
    g.run(ROTATE);
    EXPECT_EQ(header_of(g.image(g.w)).biBitCount, 8) << "a gray table stays gray";
    EXPECT_EQ(g.calls_of("info"), (std::vector<std::string>{"info 24=8"}));
    EXPECT_EQ(g.calls_of("start"), (std::vector<std::string>{"start High quality rotation (frame)"}));

    g.clear();
    g.dialog = [](int, ImgPlugin *p, HGLOBAL, void *) { return p->rotate.angle = 0, 1; };
    g.run(ROTATE);
    EXPECT_TRUE(g.calls_of("replace").empty());
}

TEST(ImagePluginOps, CropTileAndMaskFailuresChangeNothing) {
    Ready h(picture(10, 6, 8));
    h.dialog = [](int which, ImgPlugin *, HGLOBAL, void *out) {
        if (which == IMG_DIALOG_CROP) *(ImgCropParams *)out = ImgCropParams{4, 0, 6, 0};
        if (which == IMG_DIALOG_TILE) *(ImgTileParams *)out = ImgTileParams{1, 1, 0};
        return which == IMG_DIALOG_MASK ? IMG_DIALOG_NO_SHAPE : 1;
    };
    h.run(CROP);
    h.run(TILE);
    h.run(MASK);
    EXPECT_EQ(h.boxes, (std::vector<std::string>{"Cannot have an image dimension less than or equal to zero"}));
    EXPECT_TRUE(h.calls_of("replace").empty());
    EXPECT_EQ(h.calls_of("release shape").size(), 1u) << "no shape: the dialog's leftovers go";

    Ready wide(picture(20000, 1, 8));
    wide.dialog = [](int, ImgPlugin *, HGLOBAL, void *out) { return *(ImgTileParams *)out = {2, 1, 0}, 1; };
    wide.run(TILE);
    EXPECT_EQ(wide.boxes, (std::vector<std::string>{"Tile: Dimensions too large, cannot create new image"}));

    Ready m(picture(16, 16, 24));
    m.dialog = [](int, ImgPlugin *, HGLOBAL, void *) { return 1; };
    m.coverageStatus = IMG_NO_MEMORY;
    m.run(MASK);
    EXPECT_EQ(m.boxes, (std::vector<std::string>{"Mask: not enough memory to create mask"}));
    EXPECT_TRUE(m.calls_of("replace").empty());
}

TEST(ImagePluginOps, MaskKeepsTheShapeAndPaintsTheRest) {
    Ready h(picture(32, 32, 8));
    h.shapeId = IMG_MASK_FIRST_SHAPE + 1;  // Circle
    h.dialog = [](int, ImgPlugin *, HGLOBAL, void *out) {
        ImgMaskParams *m = (ImgMaskParams *)out;
        m->color = ImgColor{3, 0, 0, 0};
        return 1;
    };
    Pixels before = pixels_of(h.image(h.w));
    h.run(MASK);
    Pixels after = pixels_of(h.image(h.w));
    EXPECT_EQ(after.index[0], 3) << "a corner";
    EXPECT_EQ(after.index[16 * 32 + 16], before.index[16 * 32 + 16]) << "the centre";
    EXPECT_EQ(h.calls_of("release shape").size(), 1u);
}

TEST(ImagePluginOps, FrameWithCaptionAndItsFailures) {
    Ready h(picture(8, 6, 24));
    h.dialog = [](int, ImgPlugin *p, HGLOBAL, void *) {
        strcpy(p->caption, "Hi");
        p->frameRecord.text = ImgFrameColor{0, 1, 2, 3};
        return 1;
    };
    h.run(FRAME);
    BITMAPINFOHEADER bi = header_of(h.image(h.w));
    EXPECT_EQ(bi.biWidth, 8) << "a caption without margins keeps the size";
    Pixels p = pixels_of(h.image(h.w));
    EXPECT_EQ(p.rgb[0], 3) << "the caption's pixels take the text color";
    EXPECT_EQ(p.rgb[1], 2);
    EXPECT_TRUE(h.boxes.empty());

    h.coverageStatus = IMG_BAD_PARAMS;
    h.dialog = [](int, ImgPlugin *p, HGLOBAL, void *) { return p->frameRecord.left = 2, 1; };
    h.run(FRAME);
    EXPECT_EQ(header_of(h.image(h.w)).biWidth, 10) << "framed without the text";
    EXPECT_EQ(h.boxes, (std::vector<std::string>{"Cannot add text to image, unknown error"}));

    h.clear();
    h.coverageStatus = IMG_NO_MEMORY;
    h.run(FRAME);
    EXPECT_EQ(h.boxes, (std::vector<std::string>{"Frame: Not enough memory to frame image"}));
    EXPECT_TRUE(h.calls_of("replace").empty());

    h.clear();
    h.dialog = [](int, ImgPlugin *p, HGLOBAL, void *) { return p->frameRecord.left = 0, p->caption[0] = 0, 1; };
    h.run(FRAME);
    EXPECT_TRUE(h.calls_of("replace").empty()) << "no margins and no caption";
}

TEST(ImagePluginOps, AWindowThatWentMeanwhileGetsNothing) {
    Ready h(picture(9, 9, 24));
    h.windows[h.w].getsBeforeGone = 1;  // gone after the first look
    h.run(MIRROR);
    EXPECT_TRUE(h.calls_of("replace").empty());
    EXPECT_TRUE(h.boxes.empty());
}

// Fuzz findings: a caption alone copied a block whose biSizeImage fell
// short of its rows, and the mask drew its shape at whatever size a
// header claimed before anything looked at the block.
TEST(ImagePluginOps, ShortOrOverclaimingHeadersGiveSoundResultsOrAMessage) {
    HGLOBAL dib = picture(15, 7, 4);
    ((BITMAPINFOHEADER *)GlobalLock(dib))->biSizeImage = 52;  // the rows take 56
    GlobalUnlock(dib);
    Ready h(dib);
    h.dialog = [](int, ImgPlugin *p, HGLOBAL, void *) { return strcpy(p->caption, "x"), 1; };
    h.run(FRAME);
    HGLOBAL out = h.image(h.w);
    ASSERT_NE(out, dib);
    BITMAPINFOHEADER *bi;
    RGBQUAD *t;
    BYTE *bits;
    ASSERT_TRUE(ZYN_DIB_LockPtrs(out, &bi, &t, &bits));
    EXPECT_GE(GlobalSize(out), (size_t)(bits - (BYTE *)bi) + 56);
    EXPECT_EQ(bi->biSizeImage, 56u);
    GlobalUnlock(out);

    HGLOBAL tall = picture(8, 8, 24);
    ((BITMAPINFOHEADER *)GlobalLock(tall))->biHeight = 100000;
    GlobalUnlock(tall);
    Ready m(tall);
    m.dialog = [](int, ImgPlugin *, HGLOBAL, void *) { return 1; };
    m.run(MASK);
    EXPECT_EQ(m.boxes, (std::vector<std::string>{"Illegal image, cannot perform operation"}));
    EXPECT_TRUE(m.calls_of("dialog").empty());
}
