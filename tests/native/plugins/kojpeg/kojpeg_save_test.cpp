#include "kojpeg_fixture.h"
#include "tavn13.h"

namespace {

using KojpegSave = KojpegTest;

const int W = 160, H = 120;

/* Decodes a file with an outside program into top-down RGB samples. */
Bytes decode_outside(const std::string &command, const std::string &ppm) {
    if (!run(command)) {
        ADD_FAILURE() << "failed: " << command;
        return Bytes();
    }
    int w, h, channels;
    Bytes samples, file = slurp(ppm);
    if (!parse_pnm(file, &w, &h, &channels, &samples) || channels != 3) {
        ADD_FAILURE() << "not a PPM: " << std::string(file.begin(), file.begin() + std::min<size_t>(file.size(), 16));
        return Bytes();
    }
    return samples;
}

/* The markers of a JPEG file in order (the second byte of each). */
std::vector<int> markers(const Bytes &f) {
    std::vector<int> found;
    size_t i = 2;
    while (i + 4 <= f.size() && f[i] == 0xFF) {
        int m = f[i + 1];
        found.push_back(m);
        if (m == 0xD9) break;
        size_t length = (f[i + 2] << 8) | f[i + 3];
        i += 2 + length;
        if (m == 0xDA) /* the entropy-coded data runs to the next marker */
            while (i + 1 < f.size() && !(f[i] == 0xFF && f[i + 1] != 0 && (f[i + 1] < 0xD0 || f[i + 1] > 0xD7))) i++;
    }
    return found;
}

std::string comment_of(const Bytes &f) {
    size_t i = 2;
    while (i + 4 <= f.size() && f[i] == 0xFF) {
        size_t length = (f[i + 2] << 8) | f[i + 3];
        if (f[i + 1] == 0xFE) return std::string(f.begin() + i + 4, f.begin() + i + 2 + length);
        if (f[i + 1] == 0xDA) break;
        i += 2 + length;
    }
    return "";
}

TEST_F(KojpegSave, OurFilesDecodeInDjpegAndImageMagickAboveThirtyDecibels) {
    Bytes picture = test_picture(W, H);
    HGLOBAL dib = make_dib24(W, H, picture);
    ASSERT_TRUE(save_level(path("photo.jpg"), dib, 10)) << last_box_text();
    Bytes viaDjpeg = decode_outside("djpeg -pnm -outfile " + path("d.ppm") + " " + path("photo.jpg"), path("d.ppm"));
    Bytes viaMagick =
        decode_outside("/usr/bin/convert " + path("photo.jpg") + " " + path("m.ppm") + " 2>&1", path("m.ppm"));
    EXPECT_GT(psnr(viaDjpeg, picture), 30.0);
    EXPECT_GT(psnr(viaMagick, picture), 30.0);
    /* and in our own loader, to the same pixels as djpeg */
    HGLOBAL back = load(path("photo.jpg"));
    ASSERT_NE(back, nullptr);
    int w, h;
    EXPECT_TRUE(dib_rgb(back, &w, &h) == viaDjpeg);
    GlobalFree(back);
    GlobalFree(dib);
    EXPECT_TRUE(boxes().empty()) << last_box_text();
}

TEST_F(KojpegSave, QualityRisesAsTheLevelFalls) {
    Bytes picture = test_picture(W, H);
    HGLOBAL dib = make_dib24(W, H, picture);
    double previous = 0;
    for (int level : {19, 15, 10, 5, 0}) {
        SCOPED_TRACE(level);
        std::string name = path("q" + std::to_string(level) + ".jpg");
        ASSERT_TRUE(save_level(name, dib, level));
        Bytes got = decode_outside("djpeg -pnm -outfile " + path("q.ppm") + " " + name, path("q.ppm"));
        double q = psnr(got, picture);
        EXPECT_GT(q, previous);
        previous = q;
    }
    EXPECT_LT(slurp(path("q19.jpg")).size(), slurp(path("q0.jpg")).size());
    /* Levels above 19 are held at 19. */
    ASSERT_TRUE(save_level(path("q25.jpg"), dib, 25));
    EXPECT_TRUE(slurp(path("q25.jpg")) == slurp(path("q19.jpg")));
    GlobalFree(dib);
}

TEST_F(KojpegSave, LevelTableKeepsItsIrregularities) {
    EXPECT_EQ(kojpeg_level(0)->luminance, 8);
    EXPECT_EQ(kojpeg_level(0)->subsample, 0);
    EXPECT_EQ(kojpeg_level(3)->subsample, 1);
    EXPECT_EQ(kojpeg_level(7)->subsample, 2);
    EXPECT_EQ(kojpeg_level(10)->chrominance, 38);
    EXPECT_EQ(kojpeg_level(11)->chrominance, 32); /* lower than level 10 */
    EXPECT_EQ(kojpeg_level(19)->luminance, 90);
    EXPECT_EQ(kojpeg_level(40), kojpeg_level(19));
}

TEST_F(KojpegSave, TheNameChoosesJpegOrThePicKind) {
    HGLOBAL dib = make_dib24(W, H, test_picture(W, H));
    for (std::string name : {"A.JPG", "a.pic", "x.jpeg", "b.kqp", "c.Jpg"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(save_level(path(name), dib, 8));
        Bytes f = slurp(path(name));
        ASSERT_GT(f.size(), 20u);
        bool jpeg = name == "A.JPG" || name == "c.Jpg";
        EXPECT_EQ(f[0] == 0xFF && f[1] == 0xD8, jpeg);
        EXPECT_EQ(memcmp(f.data(), "OVPIC", 5) == 0, !jpeg);
        HGLOBAL back = load(path(name)); /* every kind loads back */
        ASSERT_NE(back, nullptr);
        GlobalFree(back);
    }
    GlobalFree(dib);
}

TEST_F(KojpegSave, GrayImagesAreCodedWithOneComponent) {
    Bytes gray;
    for (int y = 0; y < 40; y++)
        for (int x = 0; x < 50; x++) gray.push_back((BYTE)(x * 5 + y));
    HGLOBAL dib = make_dib_gray(50, 40, gray);
    ASSERT_TRUE(save_level(path("g.jpg"), dib, 2));
    ASSERT_TRUE(run("djpeg -pnm -outfile " + path("g.pnm") + " " + path("g.jpg")));
    int w, h, channels;
    Bytes samples;
    ASSERT_TRUE(parse_pnm(slurp(path("g.pnm")), &w, &h, &channels, &samples));
    EXPECT_EQ(channels, 1);
    EXPECT_GT(psnr(samples, gray), 35.0);
    GlobalFree(dib);
}

TEST_F(KojpegSave, ProgressiveFilesOfEveryScriptLevelDecode) {
    Bytes picture = test_picture(W, H);
    HGLOBAL dib = make_dib24(W, H, picture);
    const int scans[7] = {0, 6, 6, 7, 1, 4, 7};
    for (int level = 1; level <= 6; level++) {
        SCOPED_TRACE(level);
        kojpeg_store_reset();
        store_write("WANTJPROG", "1");
        store_write("SCRIPTLEVEL", std::to_string(level).c_str());
        std::string name = path("p" + std::to_string(level) + ".jpg");
        ASSERT_TRUE(save_sheet(name, dib)) << last_box_text();
        std::vector<int> m = markers(slurp(name));
        EXPECT_EQ(std::count(m.begin(), m.end(), 0xC2), 1); /* progressive frame */
        EXPECT_EQ(std::count(m.begin(), m.end(), 0xDA), scans[level]);
        Bytes got = decode_outside("djpeg -pnm -outfile " + path("p.ppm") + " " + name, path("p.ppm"));
        ASSERT_EQ(got.size(), picture.size());
        if (level <= 3) {
            EXPECT_GT(psnr(got, picture), 30.0); /* the complete scripts */
        }
        HGLOBAL back = load(name);
        ASSERT_NE(back, nullptr);
        int w, h;
        EXPECT_TRUE(dib_rgb(back, &w, &h) == got);
        GlobalFree(back);
    }
    GlobalFree(dib);
}

TEST_F(KojpegSave, TheCommentOrTheMakersTextIsStored) {
    HGLOBAL dib = make_dib24(W, H, test_picture(W, H));
    ASSERT_TRUE(save_level(path("plain.jpg"), dib, 10));
    /* 37 bytes with its terminator */
    EXPECT_EQ(comment_of(slurp(path("plain.jpg"))), std::string("Compression by Orvanta Imaging Corp."));

    kojpeg_set_sheet_method([](int, JpegOptions *o, int *) {
        snprintf(o->comment, sizeof o->comment, "%s", "taken at dawn");
        return 1;
    });
    ASSERT_TRUE(save_sheet(path("c.jpg"), dib));
    EXPECT_EQ(comment_of(slurp(path("c.jpg"))), "taken at dawn");
    EXPECT_TRUE(run("rdjpgcom " + path("c.jpg") + " | grep -q 'taken at dawn'"));
    char stored[300];
    store_read("COMMENTFIELD", "", stored, sizeof stored);
    EXPECT_STREQ(stored, "taken at dawn");
    /* and in the PIC kind, read back by the codec */
    ASSERT_TRUE(save_sheet(path("c.pic"), dib));
    Bytes pic = slurp(path("c.pic"));
    TavnRequest *r = kojpeg_request();
    kojpeg_clear_request();
    r->f.inStart = r->f.inFront = pic.data();
    r->f.inRear = r->f.inEnd = pic.data() + pic.size();
    r->f.outputMode = TAVN_OUT_RGB24;
    ASSERT_EQ(TAVN_Execute(r, TAVN_RQ_DECODE), TAVN_CONTINUE);
    EXPECT_STREQ(r->f.comment, "taken at dawn");
    TAVN_Execute(r, TAVN_RQ_ABORT);
    r->f.inStart = r->f.inFront = r->f.inRear = r->f.inEnd = nullptr;
    GlobalFree(dib);
}

TEST_F(KojpegSave, APasswordLocksThePicKindOnly) {
    Bytes picture = test_picture(W, H);
    HGLOBAL dib = make_dib24(W, H, picture);
    kojpeg_set_sheet_method([](int, JpegOptions *o, int *changed) {
        o->wantPassword = 1;
        snprintf(o->password, sizeof o->password, "%s", "tulip");
        *changed = 1;
        return 1;
    });
    ASSERT_TRUE(save_sheet(path("locked.pic"), dib));
    ASSERT_TRUE(save_sheet(path("open.jpg"), dib));
    kojpeg_set_sheet_method(nullptr);

    HGLOBAL back = load(path("open.jpg")); /* JPEG has no password */
    ASSERT_NE(back, nullptr);
    GlobalFree(back);

    Bytes locked = slurp(path("locked.pic"));
    EXPECT_EQ(locked[7] & 1, 1);
    EXPECT_FALSE(locked[20] == 0xFF && locked[21] == 0xD8); /* the stream inside is no JPEG */
    boxes().clear();
    EXPECT_EQ(load(path("locked.pic")), nullptr);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Error - Corrupted File");
    kojpeg_set_load_password("tulips");
    EXPECT_EQ(load(path("locked.pic")), nullptr);

    kojpeg_set_load_password("tulip");
    back = load(path("locked.pic"));
    ASSERT_NE(back, nullptr);
    int w, h;
    EXPECT_GT(psnr(dib_rgb(back, &w, &h), picture), 30.0);
    GlobalFree(back);
    GlobalFree(dib);
}

TEST_F(KojpegSave, MemorySaveReportsZeroWhenTheOutputFillsTheBuffer) {
    Bytes picture = test_picture(64, 48);
    HGLOBAL dib = make_dib24(64, 48, picture);
    Bytes big(1 << 20);
    DWORD size = (DWORD)big.size();
    ASSERT_EQ(MEM_SaveJPG(big.data(), &size, dib, 10), 1);
    ASSERT_GT(size, 100u);
    Bytes encoded(big.begin(), big.begin() + size);

    Bytes exact(size);
    DWORD exactSize = size;
    EXPECT_EQ(MEM_SaveJPG(exact.data(), &exactSize, dib, 10), 0);
    EXPECT_EQ(exactSize, 0u);

    Bytes small(size / 2);
    DWORD smallSize = (DWORD)small.size();
    EXPECT_EQ(MEM_SaveJPG(small.data(), &smallSize, dib, 10), 0);
    EXPECT_EQ(smallSize, 0u);

    Bytes roomy(size + 1);
    DWORD roomySize = (DWORD)roomy.size();
    ASSERT_EQ(MEM_SaveJPG(roomy.data(), &roomySize, dib, 10), 1);
    EXPECT_EQ(roomySize, size);
    EXPECT_TRUE(Bytes(roomy.begin(), roomy.begin() + size) == encoded);

    /* A level above 19 codes as 19; the result loads from memory. */
    DWORD size19 = (DWORD)big.size(), size99 = (DWORD)big.size();
    Bytes b19(big.size()), b99(big.size());
    ASSERT_EQ(MEM_SaveJPG(b19.data(), &size19, dib, 19), 1);
    ASSERT_EQ(MEM_SaveJPG(b99.data(), &size99, dib, 99), 1);
    EXPECT_EQ(size19, size99);
    HGLOBAL back = nullptr;
    ASSERT_EQ(MEM_LoadJPG(encoded.data(), (DWORD)encoded.size(), &back), 1);
    int w, h;
    EXPECT_GT(psnr(dib_rgb(back, &w, &h), picture), 28.0);
    GlobalFree(back);
    GlobalFree(dib);
    EXPECT_TRUE(boxes().empty()) << last_box_text();
}

TEST_F(KojpegSave, ACancelledSheetLeavesTheFileAlone) {
    HGLOBAL dib = make_dib24(W, H, test_picture(W, H));
    spill(path("keep.jpg"), Bytes{1, 2, 3});
    kojpeg_set_sheet_method([](int, JpegOptions *, int *) { return 0; });
    EXPECT_FALSE(save_sheet(path("keep.jpg"), dib));
    EXPECT_TRUE(slurp(path("keep.jpg")) == (Bytes{1, 2, 3}));
    EXPECT_TRUE(boxes().empty());
    GlobalFree(dib);
}

TEST_F(KojpegSave, AFailedSaveReportsOnceAndLeavesNoFile) {
    HGLOBAL dib = make_dib24(W, H, test_picture(W, H));
    kojpeg_set_codec_fault(1);
    EXPECT_FALSE(save_level(path("x.jpg"), dib, 5));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Unable to locate the TAVN13.DLL file.");
    EXPECT_TRUE(slurp(path("x.jpg")).empty());
    kojpeg_set_codec_fault(0);
    boxes().clear();
    EXPECT_FALSE(save_level(dir + "/no/such/dir/x.jpg", dib, 5));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Unable to Open");
    GlobalFree(dib);
}

TEST_F(KojpegSave, PalettedAndThirtyTwoBitImagesSaveInColour) {
    const int w = 33, h = 17;
    size_t stride4 = ((w * 4 + 31) / 32) * 4;
    HGLOBAL dib4 = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + 16 * 4 + stride4 * h);
    BITMAPINFOHEADER *bh = (BITMAPINFOHEADER *)GlobalLock(dib4);
    *bh = BITMAPINFOHEADER{sizeof *bh, w, h, 1, 4, BI_RGB, 0, 0, 0, 16, 0};
    RGBQUAD *table = (RGBQUAD *)(bh + 1);
    for (int i = 0; i < 16; i++) table[i] = RGBQUAD{(BYTE)(i * 16), 0, (BYTE)(255 - i * 16), 0};
    BYTE *bits = (BYTE *)(table + 16);
    for (size_t i = 0; i < stride4 * h; i++) bits[i] = (BYTE)((i & 15) * 17);
    GlobalUnlock(dib4);
    ASSERT_TRUE(save_level(path("four.jpg"), dib4, 0));
    EXPECT_TRUE(run("djpeg -pnm " + path("four.jpg") + " | head -c 2 | grep -q P6"));
    GlobalFree(dib4);

    HGLOBAL dib32 = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + 4 * w * h);
    bh = (BITMAPINFOHEADER *)GlobalLock(dib32);
    *bh = BITMAPINFOHEADER{sizeof *bh, w, h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    GlobalUnlock(dib32);
    EXPECT_TRUE(save_level(path("wide.jpg"), dib32, 0));
    GlobalFree(dib32);

    /* A header that claims more rows than its block holds is refused. */
    HGLOBAL bad = GlobalAlloc(GHND, sizeof(BITMAPINFOHEADER) + 16);
    bh = (BITMAPINFOHEADER *)GlobalLock(bad);
    *bh = BITMAPINFOHEADER{sizeof *bh, 1000, 1000, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    GlobalUnlock(bad);
    EXPECT_FALSE(save_level(path("bad.jpg"), bad, 0));
    EXPECT_EQ(boxes().size(), 1u);
    GlobalFree(bad);
}

}  // namespace
