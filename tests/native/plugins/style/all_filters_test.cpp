// Every filter on every source depth: the output's shape, the alpha bytes
// kept, the same bytes from the same call, the source untouched, and a
// checksum of the pixels so that any later change of a picture is seen.
#include <stdio.h>
#include <stdlib.h>

#include "style_internal.h"
#include "style_test_support.h"
#include "zynlib.h"

namespace {

const int kDepths[3] = {8, 24, 32};

// CRC-32 of the pixel rows of each filter's result on test_picture(bits,
// 23, 17) with amount 12000, p1 200, p2 90 and the color (30, 140, 250);
// set STYLE_PRINT_GOLDEN=1 to print the table afresh.
const DWORD kGolden[STY_FILTER_COUNT][3] = {
#include "golden.inc"
};

DWORD crc_of(const Image &img) {
    return ~ZYN_CRC_ProcessBuffer(nullptr, 0xFFFFFFFFu, img.bits.data(), (DWORD)img.bits.size());
}

// Frazzle (and Glass, which frazzles first) give the moved pixel's alpha.
bool keeps_alpha(int filter) { return filter != 23 && filter != 26; }

class EveryFilter : public StyleTest, public ::testing::WithParamInterface<int> {};

TEST_P(EveryFilter, DefinedDeterministicAndUnchanged) {
    const int filter = GetParam();
    for (int d = 0; d < 3; d++) {
        const int bits = kDepths[d];
        SCOPED_TRACE(bits);
        HGLOBAL dib = test_picture(bits, 23, 17);
        Image before = read_image(dib);
        Image a = filtered(dib, filter, 12000, 200, 90, RGB(30, 140, 250));
        Image b = filtered(dib, filter, 12000, 200, 90, RGB(30, 140, 250));
        ASSERT_EQ(a.w(), 23) << last_box_text();
        EXPECT_EQ(a.height(), 17);
        EXPECT_EQ(a.h.biSize, 40u);
        EXPECT_EQ(a.h.biBitCount, bits == 32 ? 32 : 24);
        EXPECT_EQ(a.h.biCompression, (DWORD)BI_RGB);
        EXPECT_EQ(a.h.biClrUsed, 0u);
        EXPECT_EQ(a.h.biSizeImage, stride_of(23, a.h.biBitCount) * 17);
        EXPECT_EQ(a.block, 40 + a.h.biSizeImage);
        EXPECT_TRUE(same_bytes(a, b)) << "the same call twice differs";
        EXPECT_TRUE(same_bytes(before, read_image(dib))) << "the source changed";
        if (bits == 32 && keeps_alpha(filter)) {
            for (long y = 0; y < 17; y++)
                for (long x = 0; x < 23; x++) ASSERT_EQ(a.at(x, y).a, before.at(x, y).a) << x << "," << y;
        }
        if (getenv("STYLE_PRINT_GOLDEN")) {
            printf("%s0x%08Xu%s", d == 0 ? "    {" : ", ", (unsigned)crc_of(a), d == 2 ? "},\n" : "");
        } else {
            EXPECT_EQ(crc_of(a), kGolden[filter][d]) << "filter " << filter << " at " << bits << " bits";
        }
        GlobalFree(dib);
    }
    EXPECT_TRUE(boxes().empty()) << last_box_text();
}

INSTANTIATE_TEST_SUITE_P(Filters, EveryFilter, ::testing::Range(0, STY_FILTER_COUNT));

// The plain build of the row routines (what processors without AVX2 run)
// gives the same bytes as the wide one.
TEST_F(StyleTest, PlainAndWideRowRoutinesAgree) {
    for (int filter = 0; filter < STY_FILTER_COUNT; filter++)
        for (int bits : kDepths) {
            HGLOBAL dib = test_picture(bits, 29, 11);
            Image wide = filtered(dib, filter, 12000, 200, 90, RGB(30, 140, 250));
            sty_set_wide(0);
            Image plain = filtered(dib, filter, 12000, 200, 90, RGB(30, 140, 250));
            sty_set_wide(1);
            EXPECT_TRUE(same_bytes(wide, plain)) << filter << " at " << bits << " bits";
            GlobalFree(dib);
        }
}

// The unfilled filters and the 8-bit paths without a routine copy the source.
TEST_F(StyleTest, UnfilledFiltersCopyTheSource) {
    for (int filter : {0, 1, 2, 4, 5, 7})
        for (int bits : kDepths) {
            HGLOBAL dib = test_picture(bits, 9, 4);
            Image src = read_image(dib), out = filtered(dib, filter, 16384);
            EXPECT_TRUE(matches(src, out, [&](long x, long y) {
                Px p = src.at(x, y);
                return Px{p.b, p.g, p.r, 255};
            })) << filter << " " << bits;
            if (bits == 32) {
                EXPECT_EQ(out.bits, src.bits);
            }
            GlobalFree(dib);
        }
    for (int filter : {8, 38}) {
        HGLOBAL dib = test_picture(8, 9, 4);
        Image src = read_image(dib);
        EXPECT_TRUE(matches(src, filtered(dib, filter, 16384), [&](long x, long y) { return src.at(x, y); }));
        GlobalFree(dib);
    }
}

}  // namespace
