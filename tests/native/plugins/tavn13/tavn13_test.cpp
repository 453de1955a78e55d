/* The codec stand-in on its own: identify, the coding parameters it
   writes, the PIC lock and the request checks. */
#include <gtest/gtest.h>

#include "jpeg_test_support.h"
#include "tavn13.h"

namespace {

struct Codec : ::testing::Test {
    TavnRequest r;
    Bytes out;
    HGLOBAL dib = nullptr;
    void SetUp() override { fresh(); }
    void TearDown() override {
        TAVN_Execute(&r, TAVN_RQ_ABORT);
        if (dib) GlobalFree(dib);
    }
    void fresh() {
        memset(&r, 0, sizeof r);
        r.f.size = TAVN_RECORD_SIZE;
        r.f.version = TAVN_VERSION;
    }
    /* Encodes the DIB with the request as set, through a small queue. */
    bool encode(DWORD code = TAVN_RQ_ENCODE, size_t queueBytes = 1000) {
        Bytes queue(queueBytes);
        out.clear();
        r.f.dibHeader = (const BITMAPINFOHEADER *)GlobalLock(dib);
        r.f.outStart = r.f.outFront = r.f.outRear = queue.data();
        r.f.outEnd = queue.data() + queue.size();
        int rc;
        while ((rc = TAVN_Execute(&r, code)) == TAVN_CONTINUE || rc == TAVN_DONE) {
            out.insert(out.end(), r.f.outFront, r.f.outRear);
            r.f.outFront = r.f.outRear = r.f.outStart;
            if (rc == TAVN_DONE) break;
        }
        GlobalUnlock(dib);
        r.f.outStart = r.f.outFront = r.f.outRear = r.f.outEnd = nullptr;
        return rc == TAVN_DONE;
    }
    int identify(const Bytes &file) {
        fresh();
        r.f.inStart = r.f.inFront = (BYTE *)file.data();
        r.f.inRear = r.f.inEnd = (BYTE *)file.data() + file.size();
        return TAVN_Identify(&r);
    }
    std::string type() const { return std::string(r.f.typeCode, 4); }
};

/* The bytes of the n-th segment with marker m, from its length field. */
Bytes segment(const Bytes &f, int m, int n = 0) {
    for (size_t i = 2; i + 4 <= f.size();) {
        if (f[i] != 0xFF) return Bytes();
        size_t length = (f[i + 2] << 8) | f[i + 3];
        if (f[i + 1] == m && n-- == 0) return Bytes(f.begin() + i + 2, f.begin() + i + 2 + length);
        if (f[i + 1] == 0xDA) return Bytes();
        i += 2 + length;
    }
    return Bytes();
}

TEST_F(Codec, IdentifiesTheKindsItKnows) {
    struct {
        const char *file, *code;
    } kinds[] = {{"baseline.jpg", "JPEG"}, {"progressive.jpg", "PROG"}, {"gray.jpg", "GRAY"},
                 {"gray_progressive.jpg", "PGRY"}, {"restart.jpg", "JPEG"}};
    for (auto &k : kinds) {
        Bytes f = slurp(kJpegFixtures + k.file);
        ASSERT_EQ(identify(f), 1) << k.file;
        EXPECT_EQ(type(), k.code) << k.file;
        EXPECT_EQ(r.f.width, 67);
        EXPECT_EQ(r.f.height, 45);
    }
    EXPECT_EQ(identify(Bytes{'G', 'I', 'F', '8'}), 0);
    EXPECT_EQ(r.f.status, TAVN_ERR_UNKNOWN);
    EXPECT_EQ(identify(Bytes{}), 0);
    /* a record of the wrong size or version is refused */
    Bytes f = slurp(kJpegFixtures + "baseline.jpg");
    identify(f);
    r.f.size = 1400;
    EXPECT_EQ(TAVN_Identify(&r), 0);
    EXPECT_EQ(r.f.status, TAVN_ERR_PARAM);
}

TEST_F(Codec, FactorsScaleTheStandardTablesAndSubsamplingSetsTheFactors) {
    dib = make_dib24(48, 32, test_picture(48, 32));
    r.f.luminance = 80;   /* twice the standard steps */
    r.f.chrominance = 20; /* half of them */
    r.f.subsample = TAVN_SUB_211;
    ASSERT_TRUE(encode());
    Bytes luma = segment(out, 0xDB), chroma = segment(out, 0xDB, 1);
    ASSERT_EQ(luma.size(), 2u + 65);
    ASSERT_EQ(chroma.size(), 2u + 65);
    EXPECT_EQ(luma[2], 0);
    EXPECT_EQ(luma[3], 32); /* 16 * 80 / 40 */
    EXPECT_EQ(chroma[2], 1);
    EXPECT_EQ(chroma[3], 9); /* 17 * 20 / 40, rounded */
    Bytes sof = segment(out, 0xC0);
    ASSERT_GE(sof.size(), 17u);
    EXPECT_EQ(sof[9], 0x21); /* Y: 2 across, 1 down */
    EXPECT_EQ(sof[12], 0x11);

    for (DWORD sub : {TAVN_SUB_111, TAVN_SUB_411}) {
        fresh();
        r.f.luminance = r.f.chrominance = 30;
        r.f.subsample = sub;
        ASSERT_TRUE(encode());
        EXPECT_EQ(segment(out, 0xC0)[9], sub == TAVN_SUB_111 ? 0x11 : 0x22);
    }
    /* Factors are held at 255: the coarsest steps stay baseline tables. */
    fresh();
    r.f.luminance = r.f.chrominance = 1000;
    ASSERT_TRUE(encode());
    EXPECT_EQ(segment(out, 0xDB)[3], (16 * 255 + 20) / 40);
}

TEST_F(Codec, TheCommentGoesIntoAComMarkerCutAt255) {
    dib = make_dib24(16, 16, test_picture(16, 16));
    r.f.luminance = r.f.chrominance = 30;
    memset(r.f.comment, 'c', TAVN_COMMENT_MAX + 1); /* not terminated: the codec stops at 255 */
    ASSERT_TRUE(encode());
    EXPECT_EQ(segment(out, 0xFE).size(), 2u + 255);
    fresh();
    r.f.luminance = r.f.chrominance = 30;
    ASSERT_TRUE(encode());
    EXPECT_TRUE(segment(out, 0xFE).empty()); /* no comment, no marker */
}

TEST_F(Codec, APicOpensOnlyWithItsPassword) {
    dib = make_dib24(32, 32, test_picture(32, 32));
    r.f.luminance = r.f.chrominance = 20;
    r.f.pic = 1;
    memcpy(r.f.password, "longpass", 8);
    ASSERT_TRUE(encode());
    Bytes pic = out;
    ASSERT_EQ(identify(pic), 1);
    EXPECT_EQ(type(), "PIC1");
    EXPECT_EQ(r.f.width, 0); /* locked: nothing to describe */

    for (const char *attempt : {"", "longpas", "longpasx", "LONGPASS"}) {
        identify(pic);
        snprintf(r.f.password, sizeof r.f.password, "%s", attempt);
        r.f.outputMode = TAVN_OUT_RGB24;
        EXPECT_EQ(TAVN_Execute(&r, TAVN_RQ_DECODE), TAVN_FAILED) << attempt;
        EXPECT_EQ(r.f.status, TAVN_ERR_PASSWORD);
    }
    identify(pic);
    snprintf(r.f.password, sizeof r.f.password, "%s", "longpass");
    ASSERT_EQ(TAVN_Identify(&r), 1);
    EXPECT_EQ(r.f.width, 32);
    r.f.outputMode = TAVN_OUT_RGB24;
    ASSERT_EQ(TAVN_Execute(&r, TAVN_RQ_DECODE), TAVN_CONTINUE);
    EXPECT_EQ(r.f.event, (DWORD)TAVN_EVT_HEADER);

    /* Without a password the JPEG stream sits inside as it is. */
    TAVN_Execute(&r, TAVN_RQ_ABORT);
    fresh();
    r.f.luminance = r.f.chrominance = 20;
    r.f.pic = 1;
    ASSERT_TRUE(encode());
    ASSERT_EQ(identify(out), 1);
    EXPECT_EQ(type(), "PIC0");
    EXPECT_EQ(r.f.width, 32);
    EXPECT_EQ(out[20], 0xFF);
    EXPECT_EQ(out[21], 0xD8);
}

TEST_F(Codec, BadRequestsFailCleanly) {
    dib = make_dib24(16, 16, test_picture(16, 16));
    BITMAPINFOHEADER *bh = (BITMAPINFOHEADER *)GlobalLock(dib);
    bh->biCompression = BI_RLE8;
    GlobalUnlock(dib);
    EXPECT_FALSE(encode());
    EXPECT_EQ(r.f.status, TAVN_ERR_PARAM);
    bh = (BITMAPINFOHEADER *)GlobalLock(dib);
    bh->biCompression = BI_RGB;
    GlobalUnlock(dib);

    /* A progressive request needs a usable scan list. */
    fresh();
    r.f.luminance = r.f.chrominance = 30;
    EXPECT_FALSE(encode(TAVN_RQ_ENCODE_PROG));
    fresh();
    r.f.luminance = r.f.chrominance = 30;
    r.f.scanCount = 1;
    r.f.scans[0] = TavnScan{1, {0, 0, 0, 0}, 1, 63, 0, 0, {0, 0, 0}}; /* AC before any DC */
    EXPECT_FALSE(encode(TAVN_RQ_ENCODE_PROG));
    EXPECT_EQ(r.f.state, nullptr);

    /* A decode without an output area, and an unknown request. */
    Bytes f = slurp(kJpegFixtures + "baseline.jpg");
    identify(f);
    r.f.outputMode = TAVN_OUT_RGB24;
    ASSERT_EQ(TAVN_Execute(&r, TAVN_RQ_DECODE), TAVN_CONTINUE);
    EXPECT_EQ(TAVN_Execute(&r, TAVN_RQ_DECODE), TAVN_FAILED);
    EXPECT_EQ(r.f.state, nullptr);
    EXPECT_EQ(TAVN_Execute(&r, 77), TAVN_FAILED);
    identify(f);
    r.f.outputMode = 0;
    EXPECT_EQ(TAVN_Execute(&r, TAVN_RQ_DECODE), TAVN_FAILED);
}

TEST_F(Codec, AGrayImageTakesOnlyTheScansOfItsComponent) {
    Bytes gray(40 * 24);
    for (size_t i = 0; i < gray.size(); i++) gray[i] = (BYTE)(i * 7);
    dib = make_dib_gray(40, 24, gray);
    r.f.luminance = r.f.chrominance = 10;
    r.f.scanCount = 3;
    r.f.scans[0] = TavnScan{3, {0, 1, 2, 0}, 0, 0, 0, 0, {0, 0, 0}};
    r.f.scans[1] = TavnScan{1, {1, 0, 0, 0}, 1, 63, 0, 0, {0, 0, 0}};
    r.f.scans[2] = TavnScan{1, {0, 0, 0, 0}, 1, 63, 0, 0, {0, 0, 0}};
    ASSERT_TRUE(encode(TAVN_RQ_ENCODE_PROG));
    ASSERT_EQ(identify(out), 1);
    EXPECT_EQ(type(), "PGRY");
}

}  // namespace
