#include <gtest/gtest.h>
#include <stdio.h>
#include <string.h>

#include <string>

#include "codecs/common/byte_sink.h"
#include "codecs/common/byte_source.h"
#include "codecs/common/dib_build.h"
#include "codecs/common/file_view.h"

TEST(ByteSource, ReadsPastTheEndGiveZerosAndStickyOverrun) {
    const BYTE data[] = {0x34, 0x12, 0xAA};
    ByteSource s;
    bs_init(&s, data, sizeof data);
    EXPECT_EQ(bs_u16le(&s), 0x1234);
    EXPECT_FALSE(s.overrun);
    EXPECT_EQ(bs_u16be(&s), 0);  // one byte left: nothing consumed
    EXPECT_TRUE(s.overrun);
    EXPECT_EQ(bs_remaining(&s), 1u);
    EXPECT_EQ(bs_u8(&s), 0xAA);
    BYTE out[4] = {9, 9, 9, 9};
    EXPECT_FALSE(bs_read(&s, out, 4));
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(bs_take(&s, 1), nullptr);
    EXPECT_FALSE(bs_seek(&s, 4));
    EXPECT_TRUE(bs_seek(&s, 3));
}

TEST(ByteSource, SkipBeyondTheEndStopsAtTheEnd) {
    const BYTE data[8] = {};
    ByteSource s;
    bs_init(&s, data, sizeof data);
    EXPECT_FALSE(bs_skip(&s, (size_t)-1));
    EXPECT_EQ(s.pos, 8u);
    EXPECT_TRUE(s.overrun);
}

TEST(ByteSink, WritesBigAndSmallPiecesInOrder) {
    std::string path = testing::TempDir() + "sink_test.bin";
    ByteSink *s = new ByteSink;
    ASSERT_TRUE(sink_open(s, path.c_str()));
    std::string big(LC_SINK_BUFFER * 2 + 3, 'x');
    sink_u8(s, 'a');
    sink_bytes(s, big.data(), big.size());
    sink_u32be(s, 0x01020304);
    sink_printf(s, "%d!", 42);
    ASSERT_TRUE(sink_close(s));
    delete s;
    FILE *f = fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::string back(big.size() + 8, '\0');
    ASSERT_EQ(fread(&back[0], 1, back.size(), f), back.size());
    EXPECT_EQ(fgetc(f), EOF);
    fclose(f);
    EXPECT_EQ(back, "a" + big + std::string("\x01\x02\x03\x04", 4) + "42!");
    remove(path.c_str());
}

TEST(DibBuild, RefusesSizesNoDibCanHold) {
    EXPECT_TRUE(dib_size_ok(1, 1, 1, 2, nullptr));
    EXPECT_FALSE(dib_size_ok(0, 1, 8, 256, nullptr));
    EXPECT_FALSE(dib_size_ok(1, -1, 8, 256, nullptr));
    EXPECT_FALSE(dib_size_ok(LC_MAX_DIMENSION + 1, 1, 8, 256, nullptr));
    EXPECT_FALSE(dib_size_ok(4, 4, 3, 8, nullptr));
    EXPECT_FALSE(dib_size_ok(4, 4, 8, 257, nullptr));
    // 65535 x 65535 x 32 bits needs more than biSizeImage can say.
    EXPECT_FALSE(dib_size_ok(LC_MAX_DIMENSION, LC_MAX_DIMENSION, 32, 0, nullptr));
}

TEST(DibBuild, CreateFillsHeaderAndOpenChecksTheRows) {
    DibParts d;
    ASSERT_TRUE(dib_create(3, 2, 4, 16, &d));
    EXPECT_EQ(d.stride, 4u);
    EXPECT_EQ(d.header->biSizeImage, 8u);
    EXPECT_EQ(d.bits - (BYTE *)d.header, 40 + 64);
    dib_row_from_top(&d, 0)[0] = 0x12;  // top row is stored last
    EXPECT_EQ(d.bits[4], 0x12);
    HGLOBAL h = d.handle;
    dib_close(&d);
    DibParts r;
    ASSERT_TRUE(dib_open(h, &r));
    EXPECT_EQ(r.bits[4], 0x12);
    r.header->biHeight = 1000;  // claims rows the block does not have
    dib_close(&r);
    EXPECT_FALSE(dib_open(h, &r));
    EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST(FileView, GivesTheWholeFileMappedOrReadAndFailsQuietlyWithoutOne) {
    std::string path = testing::TempDir() + "file_view_test.bin", empty = testing::TempDir() + "file_view_empty.bin";
    std::string bytes(70000, '\0');
    for (size_t i = 0; i < bytes.size(); i++) bytes[i] = (char)(i * 7);
    FILE *f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
    fclose(fopen(empty.c_str(), "wb"));

    FileView v;
    int tooLarge = 1;
    ASSERT_TRUE(file_view_open(path.c_str(), &v, &tooLarge));
    EXPECT_FALSE(tooLarge);
    ASSERT_EQ(v.size, bytes.size());
    EXPECT_EQ(memcmp(v.data, bytes.data(), bytes.size()), 0);
    file_view_close(&v);
    EXPECT_EQ(v.data, nullptr);

    /* An empty file cannot be mapped: it is read, and has no bytes. */
    ASSERT_TRUE(file_view_open(empty.c_str(), &v, &tooLarge));
    EXPECT_EQ(v.size, 0u);
    file_view_close(&v);

    EXPECT_FALSE(file_view_open((testing::TempDir() + "no_such_file.bin").c_str(), &v, &tooLarge));
    EXPECT_FALSE(tooLarge);
    EXPECT_FALSE(file_view_open(testing::TempDir().c_str(), &v, nullptr));  // a directory
    remove(path.c_str());
    remove(empty.c_str());
}

TEST(FileView, ScratchMemoryStartsZeroedAtEverySize) {
    const size_t sizes[] = {0, 1, 4096, (size_t)4 << 20, ((size_t)9 << 20) + 3};
    for (size_t size : sizes) {
        BYTE *p = (BYTE *)codec_scratch_alloc(size);
        ASSERT_NE(p, nullptr) << size;
        size_t nonzero = 0;
        for (size_t i = 0; i < size; i += 4093) nonzero += p[i] != 0;
        if (size) nonzero += p[size - 1] != 0;
        EXPECT_EQ(nonzero, 0u) << size;
        if (size) memset(p, 0xAB, size);
        codec_scratch_free(p, size);
    }
}
