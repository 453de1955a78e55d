#include <sys/stat.h>

#include "codec_images.h"
#include "codecs/ico/ico.h"

namespace {

/* The stand-in for the save dialog: what it was offered and its answer. */
struct SaveDialog {
    std::vector<std::string> lines;
    int selected = -1, maskEnabled = -1, maskOffered = -1;
    int answer = -2; /* -2: take the selected line */
    int useMask = -1; /* -1: leave the check box */
    int calls = 0;
};
SaveDialog saveDialog;

int choose_type(const IcoListEntry *types, int count, int selected, int maskEnabled, int *useMask) {
    saveDialog.calls++;
    saveDialog.lines.clear();
    for (int i = 0; i < count; i++) saveDialog.lines.push_back(types[i].text);
    saveDialog.selected = selected;
    saveDialog.maskEnabled = maskEnabled;
    saveDialog.maskOffered = *useMask;
    if (saveDialog.useMask >= 0) *useMask = saveDialog.useMask;
    return saveDialog.answer == -2 ? selected : saveDialog.answer;
}

/* The reader takes the only image, without the mask unless asked. */
int readMask = 0;
int read_first(const IcoListEntry *, int, int *useMask) {
    *useMask = readMask;
    return 0;
}

struct IcoWrite : CoreTest {
    std::string dir, path;
    void SetUp() override {
        CoreTest::SetUp();
        color_ops_install_builtin();
        saveDialog = SaveDialog();
        readMask = 0;
        ico_set_save_chooser(choose_type);
        ico_set_chooser(read_first);
        dir = make_scratch_dir();
        path = dir + "/out.ico";
    }
    void TearDown() override {
        ico_set_save_chooser(nullptr);
        ico_set_chooser(nullptr);
        ico_set_save_preset(0, -1);
        remove_tree(dir);
        CoreTest::TearDown();
    }
    /* Saves through the pipeline as the type with that code. */
    bool save(HGLOBAL dib, unsigned code, int color = 1) {
        saveDialog.answer = ico_type_index(code);
        Pixels p = pixels_of(dib);
        return save_as("ICO", path, dib, color, 0, p.bpp) != 0;
    }
    Pixels read_back(int withMask) {
        readMask = withMask;
        HGLOBAL back = load_as("ICO", path);
        EXPECT_NE(back, nullptr) << last_box_text();
        Pixels p = pixels_of(back);
        if (back) GlobalFree(back);
        return p;
    }
};

/* A table whose first entry is black, then distinct colours. */
uint32_t table_color(unsigned i) { return i == 0 ? 0 : 0x010000u * (i * 37 % 256) + 0x0100u * (255 - i) + (i * 91 + 7) % 256; }

TEST_F(IcoWrite, EveryTypeRoundTripsAnImageOfItsOwnSizeAndDepth) {
    for (int i = 0; i < ICO_TYPE_COUNT; i++) {
        unsigned code = ico_type_code(i);
        int size = (int)ico_code_size(code), bits = ico_code_bits(code);
        SCOPED_TRACE(code);
        HGLOBAL dib = make_dib(size, size, bits, 1 << bits, [&](int x, int y) { return noise(x, y) % (1u << bits); },
                               table_color);
        ASSERT_TRUE(save(dib, code)) << last_box_text();
        Bytes file = bytes_of(read_file(path));
        unsigned maskBytes = (size + 31) / 32 * 4 * size;
        unsigned imageBytes = 40 + 4 * (1 << bits) + (size * bits + 31) / 32 * 4 * size + maskBytes;
        ASSERT_EQ(file.size(), 22 + imageBytes);
        EXPECT_EQ(file[6], size);
        EXPECT_EQ(file[8], bits == 8 ? 0 : 1 << bits);
        EXPECT_EQ(file[14] | file[15] << 8, (int)imageBytes);
        EXPECT_EQ(file[18], 22);
        EXPECT_EQ(file[22 + 8] | file[22 + 9] << 8, 2 * size);  // height doubled
        EXPECT_EQ(Bytes(file.end() - maskBytes, file.end()), Bytes(maskBytes, 0));
        Pixels p = read_back(0);
        RawDib a = dib_raw(dib);
        EXPECT_EQ(p.bpp, bits);
        EXPECT_EQ(p.width, size);
        EXPECT_EQ(Bytes(a.pixels.begin(), a.pixels.end()), p.index);
        EXPECT_TRUE(same_table(pixels_of(dib).table, p.table, 1u << bits));
        Pixels withMask = read_back(1);
        EXPECT_EQ(withMask.alpha, Bytes(size * size, 255));  // no mask: all opaque
        GlobalFree(dib);
    }
    EXPECT_TRUE(boxes().empty()) << last_text();
}

TEST_F(IcoWrite, TheDialogOffersTheNineTypesWithTheImagesOwnSelected) {
    HGLOBAL dib = make_dib(40, 20, 4, 16, [](int x, int) { return x % 16; }, table_color);
    ASSERT_TRUE(save_as("ICO", path, dib, 1, 0, 4));
    EXPECT_EQ(saveDialog.lines,
              (std::vector<std::string>{"16 x 16 Monochrome", "32 x 32 Monochrome", "64 x 64 Monochrome",
                                        "16 x 16 16-Color", "32 x 32 16-Color", "64 x 64 16-Color",
                                        "16 x 16 256-Color", "32 x 32 256-Color", "64 x 64 256-Color"}));
    EXPECT_EQ(saveDialog.selected, ico_type_index(34));
    EXPECT_EQ(saveDialog.maskEnabled, 0);
    EXPECT_EQ(saveDialog.maskOffered, 0);
    GlobalFree(dib);
    HGLOBAL rgba = make_dib(70, 70, 32, 0, [](int, int) { return 0x808080u; });
    ASSERT_TRUE(save_as("ICO", path, rgba, 1, 0, 32));
    EXPECT_EQ(saveDialog.selected, ico_type_index(68));
    EXPECT_EQ(saveDialog.maskEnabled, 1);
    EXPECT_EQ(saveDialog.maskOffered, 1);
    // Cancel: no file, no message.
    remove(path.c_str());
    saveDialog.answer = -1;
    EXPECT_FALSE(save_as("ICO", path, rgba, 1, 0, 32));
    EXPECT_FALSE(file_exists(path));
    EXPECT_TRUE(boxes().empty()) << last_text();
    GlobalFree(rgba);
    EXPECT_EQ(ico_matching_code(16, 1), 17u);
    EXPECT_EQ(ico_matching_code(31, 8), 65u);
    EXPECT_EQ(ico_matching_code(63, 24), 66u);
    EXPECT_EQ(ico_matching_code(1000, 4), 36u);
}

/* The index of the stretched and centred source at (x, y) from the top of
   an S x S icon, or -1 in the border: nearest neighbour on stored rows. */
int expected_at(int x, int y, int w, int h, int fw, int fh, int s) {
    int left = (s - fw) / 2, top = (s - fh) / 2;
    int cx = x - left, cy = y - top;
    if (cx < 0 || cx >= fw || cy < 0 || cy >= fh) return -1;
    int storedRow = fh - 1 - cy;
    int srcStored = storedRow * h / fh;
    return (h - 1 - srcStored) * w + cx * w / fw;  // source pixel number, top-down
}

TEST_F(IcoWrite, ScalingKeepsProportionsAndCentresOnBlack) {
    struct Case {
        int w, h;
        unsigned code;
        int fw, fh;
    } cases[] = {
        {48, 24, 66, 32, 16},   // the 8 black rows above and below
        {5, 3, 33, 16, 9},      // odd spare: 3 rows above, 4 below
        {10, 40, 68, 16, 64},   // taller than wide
        {8, 8, 68, 64, 64},     // smaller than the icon
        {200, 100, 65, 16, 8},  // larger
        {1000, 1, 33, 16, 1},   // so thin the height would round to 0
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        // 8 bits, a table with black first: the pixel number picks a colour.
        HGLOBAL dib = make_dib(c.w, c.h, 8, 256, [&](int x, int y) { return 1 + (y * c.w + x) % 255; }, table_color);
        unsigned bits = ico_code_bits(c.code);
        if (bits != 8) {
            HGLOBAL four = make_dib(c.w, c.h, 4, 16, [&](int x, int y) { return 1 + (y * c.w + x) % 15; }, table_color);
            GlobalFree(dib);
            dib = four;
        }
        ASSERT_TRUE(save(dib, c.code)) << last_box_text();
        Pixels p = read_back(0);
        int s = (int)ico_code_size(c.code);
        ASSERT_EQ(p.width, s);
        ASSERT_EQ(p.height, s);
        int wrong = 0;
        for (int y = 0; y < s; y++)
            for (int x = 0; x < s; x++) {
                int n = expected_at(x, y, c.w, c.h, c.fw, c.fh, s);
                unsigned want = n < 0 ? 0 : 1 + n % ((1 << bits) - 1);
                if (p.index[y * s + x] != want) wrong++;
            }
        EXPECT_EQ(wrong, 0);
        GlobalFree(dib);
    }
    EXPECT_TRUE(boxes().empty()) << last_text();
}

TEST_F(IcoWrite, APaletteWithoutBlackStillGetsBlackBorders) {
    HGLOBAL dib = make_dib(8, 4, 4, 16, [](int, int) { return 15; }, [](unsigned) { return 0xFFFFFFu; });
    ASSERT_TRUE(save(dib, 33));
    Pixels p = read_back(0);
    for (int y = 0; y < 16; y++) {
        int inside = y >= 4 && y < 12;
        const unsigned char *px = &p.rgb[3 * 16 * y];
        EXPECT_EQ(px[0], inside ? 255 : 0) << y;
    }
    GlobalFree(dib);
}

TEST_F(IcoWrite, DepthsAreRaisedOrReducedToTheType) {
    // Monochrome to 256 colours keeps its colours exactly.
    HGLOBAL mono = make_dib(16, 16, 1, 2, [](int x, int y) { return (x ^ y) & 1; },
                            [](unsigned i) { return i ? 0xFFFFFFu : 0u; });
    ASSERT_TRUE(save(mono, 65));
    Pixels p = read_back(0);
    EXPECT_EQ(p.bpp, 8);
    EXPECT_EQ(p.rgb, pixels_of(mono).rgb);
    GlobalFree(mono);
    // 24 bits to 16 colours: a flat cut onto the default table, white stays white.
    HGLOBAL rgb = make_dib(32, 32, 24, 0, [](int x, int) { return x < 16 ? 0xFFFFFFu : 0u; });
    ASSERT_TRUE(save(rgb, 34));
    p = read_back(0);
    EXPECT_EQ(p.bpp, 4);
    EXPECT_EQ(p.rgb, pixels_of(rgb).rgb);
    GlobalFree(rgb);
    // Optimized cut when Save As would use it.
    settings_write(SET_SAVE_COLORCUT, 1);
    HGLOBAL odd = make_dib(16, 16, 24, 0, [](int x, int) { return x < 8 ? 0x123456u : 0x654321u; });
    ASSERT_TRUE(save(odd, 33));
    p = read_back(0);
    EXPECT_EQ(p.bpp, 4);
    Bytes want = pixels_of(odd).rgb;
    ASSERT_EQ(p.rgb.size(), want.size());
    int far = 0;
    for (size_t i = 0; i < want.size(); i++) far += abs(p.rgb[i] - want[i]) > 8;
    EXPECT_EQ(far, 0);  // two colours survive a median cut within its 5-bit boxes
    GlobalFree(odd);
    EXPECT_TRUE(boxes().empty()) << last_text();
}

/* A 32-bit DIB with alpha from a(x, y). */
template <class F, class A>
HGLOBAL make_rgba(int w, int h, F color, A alpha) {
    DibParts d;
    if (!dib_create(w, h, 32, 0, &d)) return NULL;
    for (int y = 0; y < h; y++) {
        BYTE *row = dib_row_from_top(&d, y);
        for (int x = 0; x < w; x++) {
            uint32_t c = color(x, y);
            row[4 * x] = (BYTE)c;
            row[4 * x + 1] = (BYTE)(c >> 8);
            row[4 * x + 2] = (BYTE)(c >> 16);
            row[4 * x + 3] = (BYTE)alpha(x, y);
        }
    }
    HGLOBAL h0 = d.handle;
    dib_close(&d);
    return h0;
}

TEST_F(IcoWrite, AlphaBelow128BecomesBlackAndTransparentInTheMask) {
    HGLOBAL dib = make_rgba(32, 16, [](int, int) { return 0xFFFFFFu; }, [](int x, int y) { return (x + y) % 3 ? 255 : 127 + (x % 2); });
    ASSERT_TRUE(save(dib, 34));  // 32 x 16 centred: 8 transparent rows above and below
    Pixels p = read_back(1);
    ASSERT_EQ(p.alpha.size(), 32u * 32u);
    int wrong = 0;
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) {
            int inside = y >= 8 && y < 24;
            int a = inside ? ((x + y - 8) % 3 ? 255 : 127 + (x % 2)) : 0;
            int opaque = a >= 128;
            if (p.alpha[y * 32 + x] != (opaque ? 255 : 0)) wrong++;
            // below 128 the colour is black; 128 keeps its white
            BYTE want = a >= 128 ? 255 : 0;
            if (p.rgb[3 * (y * 32 + x)] != want) wrong++;
        }
    EXPECT_EQ(wrong, 0);
    // The check box off: the same colours, no mask.
    saveDialog.useMask = 0;
    ASSERT_TRUE(save(dib, 34));
    p = read_back(1);
    EXPECT_EQ(p.alpha, Bytes(32 * 32, 255));
    GlobalFree(dib);
}

TEST_F(IcoWrite, AllTransparentGivesAnAllBlackIconWithAFullMask) {
    HGLOBAL dib = make_rgba(16, 16, [](int x, int) { return 0x3070B0u + x; }, [](int, int) { return 100; });
    ASSERT_TRUE(save(dib, 65));
    Bytes file = bytes_of(read_file(path));
    Bytes mask(file.end() - 4 * 16, file.end());
    for (int y = 0; y < 16; y++) EXPECT_EQ(Bytes(mask.begin() + 4 * y, mask.begin() + 4 * y + 4), (Bytes{0xFF, 0xFF, 0, 0}));
    Pixels p = read_back(0);
    EXPECT_EQ(p.rgb, Bytes(16 * 16 * 3, 0));
    GlobalFree(dib);
}

TEST_F(IcoWrite, BatchRunsAndPresetsAnswerWithoutTheDialog) {
    HGLOBAL dib = make_rgba(32, 32, [](int, int) { return 0xFF0000u; }, [](int x, int) { return x < 4 ? 0 : 255; });
    batch_set_running(1);
    ASSERT_TRUE(save_as("ICO", path, dib, 1, 0, 32));
    batch_set_running(0);
    EXPECT_EQ(saveDialog.calls, 0);
    Pixels p = read_back(1);
    EXPECT_EQ(p.width, 32);  // the matching type, 32 x 32 256-Color, mask on
    EXPECT_EQ(p.alpha[0], 0);
    EXPECT_EQ(p.alpha[4], 255);
    EXPECT_EQ(read_back(0).bpp, 8);
    // Fixed answers win over the dialog: 16 x 16 monochrome without a mask.
    ico_set_save_preset(17, 0);
    ASSERT_TRUE(save_as("ICO", path, dib, 1, 0, 32));
    EXPECT_EQ(saveDialog.calls, 0);
    p = read_back(1);
    EXPECT_EQ(p.width, 16);
    EXPECT_EQ(read_back(0).bpp, 1);
    EXPECT_EQ(p.alpha, Bytes(16 * 16, 255));
    // A mask answer alone keeps the matching type; it means nothing below 32 bits.
    ico_set_save_preset(0, 1);
    HGLOBAL four = make_dib(16, 16, 4, 16, [](int, int) { return 3; }, table_color);
    ASSERT_TRUE(save_as("ICO", path, four, 1, 0, 4));
    p = read_back(1);
    EXPECT_EQ(p.alpha, Bytes(16 * 16, 255));
    EXPECT_EQ(read_back(0).bpp, 4);
    GlobalFree(four);
    GlobalFree(dib);
}

TEST_F(IcoWrite, AFileThatCannotBeCreatedIsReported) {
    HGLOBAL dib = make_dib(16, 16, 4, 16, [](int, int) { return 3; }, table_color);
    catalogue_set_current_save(format_index("ICO"));
    std::string bad = dir + "/missing/out.ico";
    EXPECT_EQ(IcoSave(&bad[0], dib, 1, 0, 4), 0);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Cannot open output file, check disk space");
    GlobalFree(dib);
}

/* ---- other programs read our files ------------------------------------------ */

const char *kIM = "/usr/bin/convert";

/* A PAM or PPM from ImageMagick as RGB (and alpha when it has one). */
bool decode_with(const std::string &command, Bytes *rgb, Bytes *alpha, int *w, int *h) {
    std::string out = run_output(command);
    if (out.compare(0, 2, "P7") != 0) return false;
    size_t end = out.find("ENDHDR\n");
    if (end == std::string::npos) return false;
    auto field = [&](const char *name) {
        size_t at = out.find(name);
        return at == std::string::npos || at > end ? -1 : atoi(out.c_str() + at + strlen(name));
    };
    *w = field("WIDTH ");
    *h = field("HEIGHT ");
    int depth = field("DEPTH ");
    size_t pos = end + 7, n = (size_t)*w * *h;
    if (depth < 3 || out.size() < pos + n * depth) return false;
    rgb->clear();
    alpha->clear();
    for (size_t i = 0; i < n; i++) {
        const char *p = out.data() + pos + i * depth;
        rgb->insert(rgb->end(), {(BYTE)p[0], (BYTE)p[1], (BYTE)p[2]});
        alpha->push_back(depth == 4 ? (BYTE)p[3] : 255);
    }
    return true;
}

TEST_F(IcoWrite, ImageMagickAndIcotoolReadOurFilesToTheSamePixels) {
    bool haveIM = access(kIM, X_OK) == 0, haveIcotool = have_program("icotool");
    if (!haveIM) GTEST_SKIP() << "ImageMagick is not installed";
    for (unsigned code : {17u, 34u, 68u}) {
        SCOPED_TRACE(code);
        HGLOBAL dib = make_rgba(50, 30, [](int x, int y) { return (uint32_t)noise(x, y) & 0xFFFFFF; },
                                [](int x, int y) { return (x * y) % 7 ? 255 : 0; });
        ASSERT_TRUE(save(dib, code)) << last_box_text();
        GlobalFree(dib);
        Pixels ours = read_back(1);
        int w, h;
        Bytes rgb, alpha;
        ASSERT_TRUE(decode_with(std::string(kIM) + " '" + path + "' -depth 8 pam:- 2>/dev/null", &rgb, &alpha, &w, &h));
        EXPECT_EQ(w, ours.width);
        EXPECT_EQ(h, ours.height);
        EXPECT_EQ(alpha, ours.alpha);
        int differ = 0;
        for (size_t i = 0; i < rgb.size() && i < ours.rgb.size(); i++)
            if (ours.alpha[i / 3] == 255 && rgb[i] != ours.rgb[i]) differ++;
        EXPECT_EQ(differ, 0);
        if (!haveIcotool) continue;
        std::string list = run_output("icotool -l '" + path + "'");
        unsigned s = ico_code_size(code), bits = ico_code_bits(code);
        EXPECT_NE(list.find("--width=" + std::to_string(s) + " --height=" + std::to_string(s)), std::string::npos) << list;
        EXPECT_NE(list.find("--bit-depth=" + std::to_string(bits)), std::string::npos) << list;
        std::string png = dir + "/x.png";
        ASSERT_EQ(system(("icotool -x -o '" + png + "' '" + path + "' 2>/dev/null").c_str()), 0);
        Bytes rgb2, alpha2;
        ASSERT_TRUE(decode_with(std::string(kIM) + " '" + png + "' -depth 8 pam:- 2>/dev/null", &rgb2, &alpha2, &w, &h));
        EXPECT_EQ(alpha2, ours.alpha);
        differ = 0;
        for (size_t i = 0; i < rgb2.size() && i < ours.rgb.size(); i++)
            if (ours.alpha[i / 3] == 255 && rgb2[i] != ours.rgb[i]) differ++;
        EXPECT_EQ(differ, 0);
    }
    if (!haveIcotool) GTEST_SKIP() << "icoutils is not installed";
}

}  // namespace
