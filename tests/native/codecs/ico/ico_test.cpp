#include <dirent.h>

#include "codec_images.h"
#include "codecs/ico/ico.h"

namespace {

const std::string kFixtures = std::string(LC_SOURCE_DIR) + "/tests/fixtures/ico/";

/* What the stand-in for the dialog saw and answers. */
struct Dialog {
    std::vector<std::string> lines;
    int answer = 0;
    int useMask = 1;
    int calls = 0;
};
Dialog dialog;


int choose_like_the_user(const IcoListEntry *lines, int count, int *useMask) {
    dialog.calls++;
    dialog.lines.clear();
    for (int i = 0; i < count; i++) dialog.lines.push_back(lines[i].text);
    EXPECT_EQ(*useMask, 1);  // the check box starts checked
    *useMask = dialog.useMask;
    return dialog.answer;
}

struct IcoTest : CodecFixture {
    IcoTest() : CodecFixture("ICO", IcoDecode) {}
    void SetUp() override {
        CodecFixture::SetUp();
        dialog = Dialog();
        ico_set_chooser(choose_like_the_user);
    }
    void TearDown() override {
        ico_set_chooser(nullptr);
        CodecFixture::TearDown();
    }
};

/* A PAM (RGB_ALPHA or RGB) as RGB and alpha. */
bool read_pam(const std::string &text, int *w, int *h, Bytes *rgb, Bytes *alpha) {
    size_t end = text.find("ENDHDR\n");
    if (text.compare(0, 3, "P7\n") != 0 || end == std::string::npos) return false;
    std::string head = text.substr(0, end);
    auto field = [&](const char *name) {
        size_t at = head.find(name);
        return at == std::string::npos ? -1 : atoi(head.c_str() + at + strlen(name));
    };
    *w = field("WIDTH ");
    *h = field("HEIGHT ");
    int depth = field("DEPTH ");
    size_t pos = end + 7, n = (size_t)*w * *h;
    if (depth < 3 || text.size() < pos + n * depth) return false;
    rgb->clear();
    alpha->clear();
    for (size_t i = 0; i < n; i++) {
        const char *p = text.data() + pos + i * depth;
        rgb->insert(rgb->end(), {(BYTE)p[0], (BYTE)p[1], (BYTE)p[2]});
        alpha->push_back(depth == 4 ? (BYTE)p[3] : 255);
    }
    return true;
}

void put16(Bytes &b, unsigned v) { b.insert(b.end(), {(BYTE)v, (BYTE)(v >> 8)}); }
void put32(Bytes &b, unsigned v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

/* An image entry: DIB header with doubled height, table, bits, mask. */
Bytes entry_image(int w, int h, int bpp, int colors, const Bytes &bits, const Bytes &mask) {
    Bytes b;
    put32(b, 40);
    put32(b, w);
    put32(b, 2 * h);
    put16(b, 1);
    put16(b, bpp);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    for (int i = 0; i < colors; i++) b.insert(b.end(), {(BYTE)(i * 20), (BYTE)(i * 10), (BYTE)(255 - i * 15), 0});
    b.insert(b.end(), bits.begin(), bits.end());
    b.insert(b.end(), mask.begin(), mask.end());
    return b;
}

struct Entry {
    int w, h, colorByte;
    Bytes image;
};

Bytes icon(const std::vector<Entry> &entries) {
    Bytes f;
    put16(f, 0);
    put16(f, 1);
    put16(f, (unsigned)entries.size());
    unsigned offset = 6 + 16 * (unsigned)entries.size();
    for (const Entry &e : entries) {
        f.insert(f.end(), {(BYTE)e.w, (BYTE)e.h, (BYTE)e.colorByte, 0});
        put16(f, 1);
        put16(f, 0);
        put32(f, (unsigned)e.image.size());
        put32(f, offset);
        offset += (unsigned)e.image.size();
    }
    for (const Entry &e : entries) f.insert(f.end(), e.image.begin(), e.image.end());
    return f;
}

TEST_F(IcoTest, FixturesLoadToImageMagicksPixelsAndAlpha) {
    DIR *d = opendir(kFixtures.c_str());
    ASSERT_NE(d, nullptr);
    int checked = 0;
    while (dirent *e = readdir(d)) {
        std::string name = e->d_name;
        if (name.size() < 5 || name.substr(name.size() - 4) != ".pam") continue;
        std::string icoName = name.substr(0, name.find('.')) + ".ico";
        int index = atoi(name.c_str() + name.find('.') + 1);
        SCOPED_TRACE(name);
        int w, h;
        Bytes rgb, alpha;
        ASSERT_TRUE(read_pam(read_file(kFixtures + name), &w, &h, &rgb, &alpha));
        for (int useMask : {1, 0}) {
            dialog.answer = index;
            dialog.useMask = useMask;
            HGLOBAL dib = load_as("ICO", kFixtures + icoName);
            ASSERT_NE(dib, nullptr) << last_box_text();
            Pixels p = pixels_of(dib);
            GlobalFree(dib);
            EXPECT_EQ(p.width, w);
            EXPECT_EQ(p.height, h);
            ASSERT_EQ(p.rgb.size(), rgb.size());
            if (useMask) {
                EXPECT_EQ(p.bpp, 32);
                EXPECT_EQ(p.alpha, alpha);
                EXPECT_EQ(loadinfo_number(LI_BITS_PER_PIXEL), 32u);
            }
            int differ = 0;
            for (size_t i = 0; i < rgb.size(); i++)
                if (alpha[i / 3] == 255 && p.rgb[i] != rgb[i]) differ++;
            EXPECT_EQ(differ, 0) << "mask " << useMask;
        }
        checked++;
    }
    closedir(d);
    EXPECT_GE(checked, 10);
    EXPECT_TRUE(boxes().empty()) << last_text();
}

TEST_F(IcoTest, TheListNamesEachImageAndTheSecondLoadsAt32By32) {
    dialog.answer = 1;
    dialog.useMask = 0;
    HGLOBAL dib = decode(bytes_of(read_file(kFixtures + "ico_16_and_32.ico")));
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dialog.lines, (std::vector<std::string>{"16 x 16 16-Color", "32 x 32 16-Color"}));
    Pixels p = pixels_of(dib);
    GlobalFree(dib);
    EXPECT_EQ(p.width, 32);
    EXPECT_EQ(p.bpp, 4);
    EXPECT_EQ(loadinfo_number(LI_BITS_PER_PIXEL), 4u);
    EXPECT_EQ(loadinfo_number(LI_COMPRESSED), 0u);
    EXPECT_STREQ(loadinfo_text(LI_CREATOR), "Windows");
    dialog.useMask = 1;
    dib = load_as("ICO", kFixtures + "ico_16_and_32.ico");
    ASSERT_NE(dib, nullptr);
    p = pixels_of(dib);
    GlobalFree(dib);
    EXPECT_EQ(p.width, 32);
    EXPECT_EQ(p.bpp, 32);
}

TEST_F(IcoTest, CancelEndsTheLoadWithoutAMessage) {
    dialog.answer = -1;
    EXPECT_EQ(load_as("ICO", kFixtures + "ico_4bit.ico"), nullptr);
    EXPECT_EQ(dialog.calls, 1);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(IcoTest, BatchRunsAndBuildsWithoutADialogTakeTheWidest16Or256ColourImage) {
    Bytes mono = entry_image(8, 1, 1, 2, {0xF0, 0, 0, 0}, {0x0F, 0, 0, 0});
    Bytes c16 = entry_image(2, 1, 4, 16, {0x12, 0, 0, 0}, {0x40, 0, 0, 0});
    Bytes c256 = entry_image(2, 1, 8, 256, {3, 4, 0, 0}, {0x80, 0, 0, 0});
    Bytes wideMono = entry_image(40, 1, 1, 2, Bytes(8, 0), Bytes(8, 0));
    Bytes file = icon({{8, 1, 2, mono}, {2, 1, 16, c16}, {40, 1, 2, wideMono}, {2, 1, 0, c256}});
    batch_set_running(1);
    HGLOBAL dib = decode(file);
    batch_set_running(0);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dialog.calls, 0);
    Pixels p = pixels_of(dib);
    GlobalFree(dib);
    // The 256-colour one (same width, more colours), mask turned into alpha.
    EXPECT_EQ(p.bpp, 32);
    EXPECT_EQ(p.alpha, (Bytes{0, 255}));
    EXPECT_EQ(p.rgb, (Bytes{255 - 45, 30, 60, 255 - 60, 40, 80}));
    ico_set_chooser(nullptr);
    dib = decode(file);
    ASSERT_NE(dib, nullptr);
    GlobalFree(dib);
    // Only monochrome images: the first line.
    IcoListEntry lines[2] = {{"", 8, 2}, {"", 40, 2}};
    int mask = 0;
    EXPECT_EQ(ico_batch_choice(lines, 2, &mask), 0);
    EXPECT_EQ(mask, 1);
}

TEST_F(IcoTest, OtherColourCountsAreReportedAndLeftOut) {
    Bytes c16 = entry_image(2, 1, 4, 16, {0x12, 0, 0, 0}, {0, 0, 0, 0});
    HGLOBAL dib = decode(icon({{2, 1, 8, c16}, {2, 1, 16, c16}}));
    ASSERT_NE(dib, nullptr);
    GlobalFree(dib);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Unsupported ICO format");
    EXPECT_EQ(dialog.lines, (std::vector<std::string>{"2 x 1 16-Color"}));
    dialog = Dialog();
    expect_refused(icon({{2, 1, 8, c16}}), "Unsupported ICO format");
    EXPECT_EQ(dialog.calls, 0);
}

TEST_F(IcoTest, AShortMaskLeavesAlphaZero) {
    Bytes c16 = entry_image(2, 2, 4, 16, {0x12, 0, 0, 0, 0x34, 0, 0, 0}, {0x00, 0, 0});  // mask cut short
    Pixels p;
    ASSERT_TRUE(decode_pixels(icon({{2, 2, 16, c16}}), &p));
    EXPECT_EQ(p.alpha, Bytes(4, 0));
}

TEST_F(IcoTest, DamagedFilesFailWithTheirMessages) {
    Bytes c16 = entry_image(2, 1, 4, 16, {0x12, 0, 0, 0}, {0, 0, 0, 0});
    Bytes good = icon({{2, 1, 16, c16}});
    HGLOBAL dib = decode(good);
    ASSERT_NE(dib, nullptr);
    GlobalFree(dib);
    for (size_t n = 0; n < 6 + 16; n++) expect_refused(Bytes(good.begin(), good.begin() + n), "Premature end of file, cannot load");
    for (size_t n = 6 + 16; n < good.size(); n++) expect_refused(Bytes(good.begin(), good.begin() + n), "Premature end of file, cannot load");
    Bytes bad = good;
    bad[2] = 2;
    expect_refused(bad, "Not a legal ICO file");
    Bytes none = {0, 0, 1, 0, 0, 0};
    expect_refused(none, "Not a legal ICO file");
    Bytes shortEntry = icon({{2, 4, 16, c16}});  // 4 rows claimed, 1 stored
    expect_refused(shortEntry, "Premature end of file, cannot load");
    Bytes packed = c16;
    packed[16] = 2;  // BI_RLE4
    expect_refused(icon({{2, 1, 16, packed}}), "Unsupported ICO format");
    Bytes png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
    expect_refused(icon({{0, 0, 0, png}}), "Unsupported ICO format");
    Bytes huge = entry_image(65535, 1, 4, 16, {}, {});
    expect_refused(icon({{0, 1, 16, huge}}), "Premature end of file, cannot load");
}

}  // namespace
