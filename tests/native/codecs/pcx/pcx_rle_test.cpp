// The run-length expander against a plain byte-at-a-time reading of the
// same streams: the fast paths copy windows of bytes and fill runs with
// wide stores, and must still stop exactly where the plain reading does.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "codecs/pcx/pcx_rle.h"

namespace {

struct Expanded {
    std::vector<BYTE> line;
    PcxLineResult result;
    size_t pos;
    int overrun;
};

Expanded expand_plainly(const std::vector<BYTE> &data, size_t start, size_t n) {
    Expanded e{std::vector<BYTE>(n, 0xEE), PCX_LINE_OK, start, 0};
    size_t o = 0, p = start;
    while (o < n) {
        if (p == data.size()) {
            e.result = PCX_LINE_SHORT;
            break;
        }
        BYTE b = data[p];
        if (b < 0xC0) {
            e.line[o++] = b;
            p++;
            continue;
        }
        if (data.size() - p < 2) {
            p = data.size();
            e.result = PCX_LINE_SHORT;
            break;
        }
        size_t count = b & 0x3F;
        if (count > n - o) {
            count = n - o;
            e.result = PCX_LINE_CUT;
        }
        for (size_t i = 0; i < count; i++) e.line[o++] = data[p + 1];
        p += 2;
    }
    e.pos = p;
    e.overrun = e.result == PCX_LINE_SHORT;
    return e;
}

Expanded expand_fast(const std::vector<BYTE> &data, size_t start, size_t n) {
    ByteSource s;
    bs_init(&s, data.data(), data.size());
    s.pos = start;
    Expanded e{std::vector<BYTE>(n, 0xEE), PCX_LINE_OK, 0, 0};
    e.result = pcx_expand_line(&s, e.line.data(), n);
    e.pos = s.pos;
    e.overrun = s.overrun;
    return e;
}

/* Streams where counts are rare, common, long or zero, so that windows
   end on every kind of byte. */
std::vector<BYTE> random_stream(std::mt19937 &rng, size_t size, unsigned countPercent) {
    std::vector<BYTE> data(size);
    for (BYTE &b : data) {
        unsigned roll = rng() % 100;
        b = roll < countPercent ? (BYTE)(0xC0 | (rng() % 64)) : (BYTE)(rng() % 0xC0);
    }
    return data;
}

}  // namespace

TEST(PcxRle, ExpandsLinesExactlyAsAPlainReadingDoes) {
    std::mt19937 rng(12345);
    const unsigned mixes[] = {0, 2, 10, 40, 100};
    for (unsigned mix : mixes) {
        for (int trial = 0; trial < 60; trial++) {
            std::vector<BYTE> data = random_stream(rng, 1 + rng() % 400, mix);
            size_t start = rng() % data.size();
            size_t n = rng() % 300;
            SCOPED_TRACE(testing::Message() << "mix " << mix << " trial " << trial << " n " << n);
            Expanded want = expand_plainly(data, start, n), got = expand_fast(data, start, n);
            ASSERT_EQ(got.result, want.result);
            ASSERT_EQ(got.pos, want.pos);
            ASSERT_EQ(got.overrun, want.overrun);
            /* Past where a short line stopped the contents are unspecified. */
            if (want.result != PCX_LINE_SHORT) ASSERT_EQ(got.line, want.line);
        }
    }
}

TEST(PcxRle, WholeImageOfLinesReadsBackWhatWasEncoded) {
    std::mt19937 rng(7);
    const size_t lineBytes = 1000, lines = 50;
    std::vector<BYTE> image(lineBytes * lines), coded(2 * image.size());
    for (size_t i = 0; i < image.size(); i++) image[i] = rng() % 3 == 0 ? (BYTE)(image[i ? i - 1 : 0]) : (BYTE)rng();
    size_t used = 0;
    for (size_t y = 0; y < lines; y++) used += pcx_encode(&image[y * lineBytes], lineBytes, &coded[used]);
    coded.resize(used);
    ByteSource s;
    bs_init(&s, coded.data(), coded.size());
    std::vector<BYTE> line(lineBytes);
    for (size_t y = 0; y < lines; y++) {
        ASSERT_EQ(pcx_expand_line(&s, line.data(), lineBytes), PCX_LINE_OK);
        ASSERT_TRUE(std::equal(line.begin(), line.end(), image.begin() + y * lineBytes)) << "line " << y;
    }
    EXPECT_EQ(bs_remaining(&s), 0u);
    EXPECT_FALSE(s.overrun);
}
