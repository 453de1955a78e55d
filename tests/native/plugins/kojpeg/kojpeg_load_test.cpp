#include <dirent.h>

#include "kojpeg_fixture.h"
#include "tavn13.h"

namespace {

using KojpegLoad = KojpegTest;

/* The expected pixels of a fixture as red, green, blue samples. */
bool expected_pixels(const std::string &stem, int *w, int *h, Bytes *rgb, bool *gray) {
    int channels = 0;
    Bytes samples;
    Bytes file = slurp(kJpegFixtures + stem + ".ppm");
    *gray = file.empty();
    if (*gray) file = slurp(kJpegFixtures + stem + ".pgm");
    if (!parse_pnm(file, w, h, &channels, &samples)) return false;
    rgb->clear();
    for (size_t i = 0; i < samples.size(); i += channels)
        for (int c = 0; c < 3; c++) rgb->push_back(samples[i + (channels == 3 ? c : 0)]);
    return true;
}

std::vector<std::string> fixture_stems() {
    std::vector<std::string> stems;
    DIR *d = opendir(kJpegFixtures.c_str());
    while (d) {
        dirent *e = readdir(d);
        if (!e) break;
        std::string name = e->d_name;
        if (name.size() > 4 && name.substr(name.size() - 4) == ".jpg") stems.push_back(name.substr(0, name.size() - 4));
    }
    if (d) closedir(d);
    return stems;
}

TEST_F(KojpegLoad, FilesOfCjpegDecodeToTheSamePixelsAsDjpeg) {
    std::vector<std::string> stems = fixture_stems();
    ASSERT_GE(stems.size(), 9u);
    for (const std::string &stem : stems) {
        SCOPED_TRACE(stem);
        int w, h;
        Bytes expected;
        bool gray;
        ASSERT_TRUE(expected_pixels(stem, &w, &h, &expected, &gray));
        HGLOBAL dib = load(kJpegFixtures + stem + ".jpg");
        ASSERT_NE(dib, nullptr) << last_box_text();
        const BITMAPINFOHEADER *bh = (const BITMAPINFOHEADER *)GlobalLock(dib);
        /* Gray files load as 8 bits with 256 grays, colour ones at the display's 24. */
        EXPECT_EQ(bh->biBitCount, gray ? 8 : 24);
        EXPECT_EQ(bh->biClrUsed, gray ? 256u : 0u);
        GlobalUnlock(dib);
        int dw, dh;
        Bytes got = dib_rgb(dib, &dw, &dh);
        EXPECT_EQ(dw, w);
        EXPECT_EQ(dh, h);
        EXPECT_TRUE(got == expected);
        GlobalFree(dib);
        /* From memory: always 24 bits, the same pixels. */
        Bytes file = slurp(kJpegFixtures + stem + ".jpg");
        HGLOBAL mem = nullptr;
        ASSERT_EQ(MEM_LoadJPG(file.data(), (DWORD)file.size(), &mem), 1);
        EXPECT_EQ(((BITMAPINFOHEADER *)GlobalLock(mem))->biBitCount, 24);
        GlobalUnlock(mem);
        EXPECT_TRUE(dib_rgb(mem, &dw, &dh) == expected);
        GlobalFree(mem);
    }
    EXPECT_TRUE(boxes().empty()) << last_box_text();
}

TEST_F(KojpegLoad, OutputDepthFollowsTheDisplay) {
    std::string colour = kJpegFixtures + "baseline.jpg";
    int w, h;
    Bytes expected;
    bool gray;
    ASSERT_TRUE(expected_pixels("baseline", &w, &h, &expected, &gray));

    kojpeg_set_display_bits(4);
    HGLOBAL dib = load(colour);
    ASSERT_NE(dib, nullptr);
    BITMAPINFOHEADER *bh = (BITMAPINFOHEADER *)GlobalLock(dib);
    EXPECT_EQ(bh->biBitCount, 4);
    EXPECT_LE(bh->biClrUsed, 16u);
    GlobalUnlock(dib);
    EXPECT_GT(psnr(dib_rgb(dib, &w, &h), expected), 15.0);
    GlobalFree(dib);

    kojpeg_set_display_bits(8);
    dib = load(colour);
    ASSERT_NE(dib, nullptr);
    bh = (BITMAPINFOHEADER *)GlobalLock(dib);
    EXPECT_EQ(bh->biBitCount, 8);
    EXPECT_LE(bh->biClrUsed, 236u);
    EXPECT_GT(bh->biClrUsed, 16u);
    GlobalUnlock(dib);
    EXPECT_GT(psnr(dib_rgb(dib, &w, &h), expected), 25.0);
    GlobalFree(dib);

    /* 16 bits: a 24-bit DIB whose channels keep 5 significant bits. */
    for (int bits : {15, 16}) {
        kojpeg_set_display_bits(bits);
        dib = load(colour);
        ASSERT_NE(dib, nullptr);
        bh = (BITMAPINFOHEADER *)GlobalLock(dib);
        EXPECT_EQ(bh->biBitCount, 24);
        GlobalUnlock(dib);
        Bytes got = dib_rgb(dib, &w, &h);
        ASSERT_EQ(got.size(), expected.size());
        for (size_t i = 0; i < got.size(); i++) ASSERT_EQ(got[i], expected[i] & 0xF8) << i;
        GlobalFree(dib);
    }

    /* A gray file gives 8 bits of 256 grays whatever the display. */
    kojpeg_set_display_bits(4);
    dib = load(kJpegFixtures + "gray.jpg");
    ASSERT_NE(dib, nullptr);
    bh = (BITMAPINFOHEADER *)GlobalLock(dib);
    EXPECT_EQ(bh->biBitCount, 8);
    EXPECT_EQ(bh->biClrUsed, 256u);
    GlobalUnlock(dib);
    GlobalFree(dib);
}

TEST_F(KojpegLoad, TellsTheHostItsProgressAndInfoFields) {
    std::string file = kJpegFixtures + "s444.jpg";
    HGLOBAL dib = load(file, TEST_HOST);
    ASSERT_NE(dib, nullptr);
    GlobalFree(dib);
    const HostLog &log = host_log();
    ASSERT_EQ(log.progress.size(), 3u);
    EXPECT_EQ(log.progress[0], std::make_pair(0, 100));
    EXPECT_EQ(log.progress[1], std::make_pair(1, 50));
    EXPECT_EQ(log.progress[2], std::make_pair(1, 100));
    EXPECT_EQ(log.info.at(8), 67);
    EXPECT_EQ(log.info.at(12), 45);
    EXPECT_EQ(log.info.at(16), 0); /* 24 bits */
    EXPECT_EQ(log.info.at(24), 0);
    EXPECT_EQ(log.info.at(20), 1);
    EXPECT_EQ(log.info.at(40), 24);
    EXPECT_EQ(log.info.at(32), (long)slurp(file).size());
    EXPECT_EQ(log.infoText, "Orvanta");
    EXPECT_EQ(log.infoDone, 1);

    /* The gray file is below 15 bits and has 256 colours. */
    host_log() = HostLog();
    dib = load(kJpegFixtures + "gray.jpg", TEST_HOST);
    ASSERT_NE(dib, nullptr);
    GlobalFree(dib);
    EXPECT_EQ(host_log().info.at(16), 1);
    EXPECT_EQ(host_log().info.at(24), 256);
}

TEST_F(KojpegLoad, WithoutAHostOrFromTheProgramNothingReachesTheHostTable) {
    HGLOBAL dib = load(kJpegFixtures + "baseline.jpg", nullptr);
    ASSERT_NE(dib, nullptr);
    GlobalFree(dib);
    std::string name = kJpegFixtures + "baseline.jpg";
    ASSERT_EQ(FOR_LoadJPG(&name[0], &dib), 1);
    GlobalFree(dib);
    EXPECT_TRUE(host_log().progress.empty());
    EXPECT_TRUE(host_log().info.empty());
}

TEST_F(KojpegLoad, NullPlaceReturnsZeroAfterOpeningTheProgressRangeOnly) {
    std::string name = path("absent.jpg");
    EXPECT_EQ(RQ_Fmt_Load(TEST_HOST, &name[0], nullptr), 0);
    EXPECT_TRUE(boxes().empty()); /* the missing file was never opened */
    ASSERT_EQ(host_log().progress.size(), 1u);
    EXPECT_EQ(host_log().progress[0], std::make_pair(0, 100));
}

TEST_F(KojpegLoad, ResolutionInDotsPerInchBecomesPixelsPerMetre) {
    Bytes file = slurp(kJpegFixtures + "baseline.jpg");
    ASSERT_EQ(memcmp(&file[6], "JFIF", 5), 0);
    file[13] = 1; /* dots per inch */
    file[14] = 300 >> 8, file[15] = 300 & 255;
    file[16] = 0, file[17] = 72;
    spill(path("dpi.jpg"), file);
    HGLOBAL dib = load(path("dpi.jpg"));
    ASSERT_NE(dib, nullptr);
    BITMAPINFOHEADER *bh = (BITMAPINFOHEADER *)GlobalLock(dib);
    EXPECT_EQ(bh->biXPelsPerMeter, 11811); /* 300 / 0.0254 */
    EXPECT_EQ(bh->biYPelsPerMeter, 2835);  /* 72 / 0.0254 */
    GlobalUnlock(dib);
    GlobalFree(dib);
}

TEST_F(KojpegLoad, BadFilesGetTheirMessagesAndNoImage) {
    struct Case {
        std::string name;
        Bytes data;
        const char *message;
    };
    Bytes good = slurp(kJpegFixtures + "baseline.jpg");
    Bytes precision = good, table = good;
    for (size_t i = 2; i + 19 < precision.size(); i++)
        if (precision[i] == 0xFF && precision[i + 1] == 0xC0) {
            precision[i + 4] = 12; /* a 12-bit frame is not a file we take */
            table[i + 18] = 3;     /* the third component asks for a table the file lacks */
            break;
        }
    std::vector<Case> cases = {
        {"text.jpg", Bytes{'h', 'e', 'l', 'l', 'o'}, "Error - Not a Recognized File"},
        {"empty.jpg", Bytes{}, "Error - Not a Recognized File"},
        {"soi_only.jpg", Bytes{0xFF, 0xD8, 0xFF, 0xD9}, "Error - Not a Recognized File"},
        {"precision.jpg", precision, "Error - Not a Recognized File"},
        {"table.jpg", table, "Error - Corrupted File"},
        {"pic_cut.pic", Bytes{'O', 'V', 'P', 'I', 'C', 0x1A, 1, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2},
         "Error - Corrupted File"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        spill(path(c.name), c.data);
        boxes().clear();
        EXPECT_EQ(load(path(c.name)), nullptr);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(boxes()[0].text, c.message);
        EXPECT_EQ(boxes()[0].caption, "<null>");
    }
    boxes().clear();
    EXPECT_EQ(load(path("no_such_file.jpg")), nullptr);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Unable to Open");
}

TEST_F(KojpegLoad, AnImageTooLargeForTheCodecIsAMemoryError) {
    unsigned long long old = tavn_set_pixel_limit(1000);
    EXPECT_EQ(load(kJpegFixtures + "baseline.jpg"), nullptr);
    tavn_set_pixel_limit(old);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Error - Insufficient Memory");
}

TEST_F(KojpegLoad, AMissingCodecIsReportedOnceWithTheCodecCaption) {
    kojpeg_set_codec_fault(1);
    EXPECT_EQ(load(kJpegFixtures + "baseline.jpg"), nullptr);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Unable to locate the TAVN13.DLL file.");
    EXPECT_EQ(boxes()[0].caption, "Orvanta JPEG File Format");
    EXPECT_EQ(boxes()[0].style & MB_ICONHAND, (UINT)MB_ICONHAND);
    EXPECT_EQ(kojpeg_request()->f.status, TAVN_ERR_NOCODEC);

    boxes().clear();
    kojpeg_set_codec_fault(2);
    EXPECT_EQ(load(kJpegFixtures + "baseline.jpg"), nullptr);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text,
              "The TAVN13.DLL File has a bad ordinal number.\nMost likely the file is the wrong version or has been "
              "corrupted.");
    kojpeg_set_codec_fault(0);
    HGLOBAL dib = load(kJpegFixtures + "baseline.jpg");
    EXPECT_NE(dib, nullptr);
    GlobalFree(dib);
}

TEST_F(KojpegLoad, NoBlocksAreLeftBehind) {
    long before = compat_global_live_blocks();
    spill(path("text.jpg"), Bytes{1, 2, 3});
    EXPECT_EQ(load(path("text.jpg")), nullptr);
    HGLOBAL dib = load(kJpegFixtures + "progressive.jpg");
    ASSERT_NE(dib, nullptr);
    GlobalFree(dib);
    EXPECT_EQ(compat_global_live_blocks(), before);
}

}  // namespace
