// The PCX reader against files written by other programs, its color
// tables and load information, the continue question, damaged files.
#include "codec_images.h"
#include "codecs/pcx/pcx.h"

namespace {

class PcxRead : public CoreTest {};

std::string pcx_fixture(const std::string &name) { return fixture_path("pcx", name); }

HGLOBAL decode(const std::string &bytes, const char *extension = "PCX") {
    catalogue_set_current_load(format_index(extension));
    HGLOBAL dib = NULL;
    return pcx_decode_memory((const BYTE *)bytes.data(), bytes.size(), &dib) ? dib : NULL;
}

/* A 128-byte header; the 48-byte palette holds entry i = (i*16, i*16+1, i*16+2). */
std::string header(int version, int bits, int planes, int width, int height, int bpl) {
    std::string h(128, '\0');
    h[0] = 10;
    h[1] = (char)version;
    h[2] = 1;
    h[3] = (char)bits;
    h[8] = (char)(width - 1);
    h[9] = (char)((width - 1) >> 8);
    h[10] = (char)(height - 1);
    h[11] = (char)((height - 1) >> 8);
    for (int i = 0; i < 48; i++) h[16 + i] = (char)((i / 3) * 16 + i % 3);
    h[65] = (char)planes;
    h[66] = (char)bpl;
    h[67] = (char)(bpl >> 8);
    return h;
}

TEST_F(PcxRead, FixturesLoadToThePixelsPcxtoppmReports) {
    struct Case { const char *name; int bpp; } cases[] = {
        {"pnm_1plane_1bit", 1}, {"pnm_1plane_2bit", 4}, {"pnm_1plane_4bit", 4}, {"pnm_4planes_1bit", 4},
        {"pnm_1plane_8bit", 8}, {"im_8bit", 8},          {"gm_8bit", 8},          {"pnm_3planes_8bit", 24},
        {"im_24bit", 24},       {"gm_24bit", 24},        {"pnm_flat_3planes", 24}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        HGLOBAL dib = load_as("PCX", pcx_fixture(std::string(c.name) + ".pcx"));
        ASSERT_NE(dib, nullptr) << last_text();
        Picture expected = parse_ppm(read_file(pcx_fixture(std::string(c.name) + ".ppm")));
        ASSERT_GT(expected.width, 0);
        EXPECT_EQ(dib_raw(dib).bpp, c.bpp);
        EXPECT_TRUE(dib_picture(dib) == expected);
        EXPECT_EQ(load_panel_current_step(), (DWORD)expected.height);
        GlobalFree(dib);
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(PcxRead, OtherPlaneLayoutsAreRefused) {
    for (const char *name : {"unsupported_2planes_1bit.pcx", "unsupported_3planes_1bit.pcx"}) {
        EXPECT_EQ(load_as("PCX", pcx_fixture(name)), nullptr);
        EXPECT_EQ(last_text(), "Unsupported PCX format");
    }
}

TEST_F(PcxRead, ColorTablesFollowVersionAndDepth) {
    std::string rows(4, '\x01');
    // version 3, 4 bits in one plane: the gray ramp 0, 15, ..., 225
    HGLOBAL v3 = decode(header(3, 4, 1, 2, 4, 1) + rows);
    ASSERT_NE(v3, nullptr) << last_text();
    RawDib raw = dib_raw(v3);
    ASSERT_EQ(raw.table.size(), 16u);
    EXPECT_EQ(raw.table[1], 0x0F0F0Fu);
    EXPECT_EQ(raw.table[15], 0xE1E1E1u);
    EXPECT_EQ(loadinfo_number(LI_GRAY), 1u);
    GlobalFree(v3);
    // 8 bits without the closing 0x0C: a gray ramp, marked gray
    HGLOBAL ramp = decode(header(5, 8, 1, 2, 4, 2) + std::string(8, '\x07'));
    ASSERT_NE(ramp, nullptr);
    raw = dib_raw(ramp);
    EXPECT_EQ(raw.table[200], 0xC8C8C8u);
    EXPECT_EQ(raw.pixels[0], 7u);
    EXPECT_EQ(loadinfo_number(LI_GRAY), 1u);
    GlobalFree(ramp);
    // one plane of 2 bits: the first four header entries, in color
    HGLOBAL cga = decode(header(5, 2, 1, 4, 4, 1) + std::string(4, '\x1B'));
    ASSERT_NE(cga, nullptr);
    raw = dib_raw(cga);
    EXPECT_EQ(raw.bpp, 4);
    EXPECT_EQ(std::vector<uint32_t>(raw.table.begin(), raw.table.begin() + 4),
              (std::vector<uint32_t>{0x000102, 0x101112, 0x202122, 0x303132}));
    EXPECT_EQ(std::vector<unsigned>(raw.pixels.begin(), raw.pixels.begin() + 4), (std::vector<unsigned>{0, 1, 2, 3}));
    EXPECT_EQ(loadinfo_number(LI_GRAY), 0u);
    GlobalFree(cga);
    // one plane of 1 bit: black and white whatever the header says
    HGLOBAL mono = decode(header(5, 1, 1, 8, 2, 2) + std::string(4, '\x0F'));
    ASSERT_NE(mono, nullptr);
    EXPECT_EQ(dib_raw(mono).table, (std::vector<uint32_t>{0, 0xFFFFFF}));
    GlobalFree(mono);
}

TEST_F(PcxRead, LoadInformationNamesPlanesVersionAndCreator) {
    std::string creator;
    static std::string *seen;
    seen = &creator;
    LoadPanelHooks hooks = {};
    hooks.close = [] { *seen = loadinfo_text(LI_CREATOR); };
    load_panel_set_hooks(&hooks);
    HGLOBAL dib = load_as("PCX", pcx_fixture("pnm_3planes_8bit.pcx"));
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(creator, "IBMPC");
    EXPECT_EQ(loadinfo_number(LI_PLANES), 3u);
    EXPECT_EQ(loadinfo_number(LI_BITS_PER_PIXEL), 8u);
    EXPECT_EQ(loadinfo_number(LI_VERSION), 5u);
    EXPECT_EQ(loadinfo_number(LI_COMPRESSED), 1u);
    EXPECT_EQ(loadinfo_number(LI_GRAY), 0u);
    EXPECT_EQ(loadinfo_number(LI_PALETTE), 0u);
    EXPECT_EQ(loadinfo_number(LI_WIDTH), 37u);
    EXPECT_EQ(load_panel_steps(), 23u);
    GlobalFree(dib);
}

/* Three lines of 2 bytes (8 bits, width 2) each coded as a run of 5. */
std::string cut_runs() {
    std::string data;
    for (int i = 0; i < 3; i++) data += std::string("\xC5\x09", 2);
    return header(5, 8, 1, 2, 3, 2) + data;
}

TEST_F(PcxRead, RunPastTheLineAsksOnceAndYesLoadsTheRest) {
    box_answer() = IDYES;
    HGLOBAL dib = decode(cut_runs());
    ASSERT_NE(dib, nullptr);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].text, "Error encountered decompressing PCX file.  Continue to load?");
    EXPECT_EQ(boxes()[0].caption, "Warning");
    EXPECT_EQ(dib_raw(dib).pixels, std::vector<unsigned>(6, 9u));
    GlobalFree(dib);
}

TEST_F(PcxRead, RunPastTheLineAnsweredNoFailsAndOffersToCancelABatch) {
    box_answer() = IDNO;
    EXPECT_EQ(decode(cut_runs()), nullptr);
    EXPECT_EQ(boxes().size(), 1u);
    boxes().clear();
    batch_set_running(1);
    box_answer() = IDNO;
    EXPECT_EQ(decode(cut_runs()), nullptr);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_EQ(boxes()[1].text, "\n\nCancel Batch?");
    EXPECT_EQ(boxes()[1].caption, "Lumacast");
    EXPECT_FALSE(batch_cancel_requested());
}

TEST_F(PcxRead, BackgroundAbortEndsTheLoadQuietly) {
    ZYN_EVT_StartBackground([]() -> int { return 0; });
    EXPECT_EQ(load_as("PCX", pcx_fixture("pnm_1plane_8bit.pcx")), nullptr);
    ZYN_EVT_StopBackground();
    EXPECT_TRUE(boxes().empty());
}

TEST_F(PcxRead, DamagedFilesFailWithTheirMessage) {
    std::string good = read_file(pcx_fixture("pnm_3planes_8bit.pcx"));
    std::string wrongMaker = good, oldVersion = good;
    wrongMaker[0] = 11;
    oldVersion[1] = 2;
    struct Case { const char *what; std::string bytes; const char *extension, *message; } cases[] = {
        {"manufacturer", wrongMaker, "PCX", "Not a legal PCX format file"},
        {"manufacturer, PCC entry", wrongMaker, "PCC", "Not a legal PCC format file"},
        {"empty file", "", "PCX", "Not a legal PCX format file"},
        {"version 2", oldVersion, "PCX", "Unsupported PCX format"},
        {"short header", good.substr(0, 100), "PCX", "Incomplete PCX file, cannot load"},
        {"data ends early", good.substr(0, good.size() - 40), "PCX", "Incomplete PCX file, cannot load"},
        {"run byte is the last", header(5, 8, 1, 2, 1, 2) + "\x01\xC1", "PCX", "Incomplete PCX file, cannot load"},
        {"header only, giant image", header(5, 8, 1, 60000, 60000, 60000), "PCX", "Incomplete PCX file, cannot load"},
        {"width past the limit", header(5, 1, 1, 65536, 1, 8192) + std::string(8192, 0), "PCX",
         "Not enough memory to load PCX image"},
        {"line shorter than the width", header(5, 8, 1, 100, 1, 10) + std::string(10, 0), "PCX",
         "Not a legal PCX format file"},
        {"32 bits", header(5, 8, 4, 1, 1, 2) + std::string(8, 0), "PCX", "Unsupported PCX format"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        boxes().clear();
        EXPECT_EQ(decode(c.bytes, c.extension), nullptr);
        ASSERT_EQ(boxes().size(), 1u);
        EXPECT_EQ(last_text(), c.message);
    }
}

TEST_F(PcxRead, PccFilesLoadWithThePcxReader) {
    std::string dir = make_scratch_dir(), path = dir + "/copy.pcc";
    write_file(path, read_file(pcx_fixture("pnm_4planes_1bit.pcx")));
    HGLOBAL dib = load_as("PCC", path);
    ASSERT_NE(dib, nullptr);
    EXPECT_TRUE(dib_picture(dib) == parse_ppm(read_file(pcx_fixture("pnm_4planes_1bit.ppm"))));
    GlobalFree(dib);
    remove_tree(dir);
}

}  // namespace
