// Clipboard files: the DIB entry first, the device bitmap when it matches
// the screen (24 bits natively), and each refusal with its message.
#include "bmp_test_support.h"
#include "codecs/bmp/bmp.h"

namespace {

struct Entry {
    WORD format;
    Bytes data;
};

Bytes clp_file(const std::vector<Entry> &entries, WORD id = 0xC350) {
    Bytes b;
    put16(b, id);
    put16(b, (unsigned)entries.size());
    size_t offset = 4 + 89 * entries.size();
    for (const Entry &e : entries) {
        put16(b, e.format);
        put32(b, (uint32_t)e.data.size());
        put32(b, (uint32_t)offset);
        Bytes name(79, 0);
        b.insert(b.end(), name.begin(), name.end());
        offset += e.data.size();
    }
    for (const Entry &e : entries) b.insert(b.end(), e.data.begin(), e.data.end());
    return b;
}

// A packed 2 x 1 24-bit DIB: blue then green.
Bytes small_dib(uint32_t compression = 0) {
    Bytes d = info_header(2, 1, 24, compression, 8, 0);
    d.insert(d.end(), {255, 0, 0, 0, 255, 0, 0, 0});
    return d;
}

// A 2 x 2 device bitmap: rows top-down, 8 bytes each (word-aligned 6).
Bytes device_bitmap(WORD planes, WORD bits) {
    Bytes b;
    put32(b, 0);
    put32(b, 2);
    put32(b, 2);
    put32(b, 8);
    put16(b, planes);
    put16(b, bits);
    put32(b, 0);
    b.insert(b.end(), {0, 0, 255, 0, 0, 255, 9, 9, /* bottom: */ 255, 255, 255, 0, 0, 0, 9, 9});
    return b;
}

HGLOBAL decode(const Bytes &file) {
    HGLOBAL out = (HGLOBAL)1;
    int ok = clp_decode_memory(file.data(), file.size(), BMP_NO_IMAGE_LIMIT, &out);
    EXPECT_EQ(ok != 0, out != nullptr);
    return out;
}

TEST_F(BmpTest, ClipboardFilePrefersItsDib) {
    HGLOBAL dib = decode(clp_file({{2, device_bitmap(1, 24)}, {8, small_dib()}, {9, Bytes(10, 0)}}));
    ASSERT_NE(dib, nullptr) << last_text();
    EXPECT_EQ(rgb_of(dib).pixels, (Bytes{0, 0, 255, 0, 255, 0}));
    GlobalFree(dib);

    // Without a DIB the bitmap of a 24-bit screen loads, rows flipped.
    dib = decode(clp_file({{1, Bytes(5, 0)}, {2, device_bitmap(1, 24)}}));
    ASSERT_NE(dib, nullptr) << last_text();
    EXPECT_EQ(rgb_of(dib).pixels, (Bytes{255, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0, 0}));
    GlobalFree(dib);

    // A DIB entry that is not a 40-byte header falls back to the bitmap.
    Bytes core(12, 0);
    core[0] = 12;
    dib = decode(clp_file({{8, core}, {2, device_bitmap(1, 24)}}));
    ASSERT_NE(dib, nullptr) << last_text();
    GlobalFree(dib);

    // A compressed DIB is expanded.
    Bytes rle = info_header(3, 1, 8, 1, 4, 2);
    Bytes table = gray_table(2);
    rle.insert(rle.end(), table.begin(), table.end());
    rle.insert(rle.end(), {3, 1, 0, 1});
    dib = decode(clp_file({{8, rle}}));
    ASSERT_NE(dib, nullptr) << last_text();
    EXPECT_EQ(rgb_of(dib).pixels, Bytes(9, 255));
    GlobalFree(dib);
    EXPECT_TRUE(boxes().empty()) << last_text();
}

TEST_F(BmpTest, ClipboardRefusalsNameTheirReason) {
    catalogue_set_current_load(format_index("CLP"));
    Bytes core(12, 0);
    core[0] = 12;
    Bytes cut = clp_file({{8, small_dib()}});
    cut.resize(50);
    Bytes shortData = clp_file({{8, small_dib()}});
    shortData.resize(shortData.size() - 3);
    struct Refusal {
        Bytes file;
        const char *text;
    } refusals[] = {
        {clp_file({{8, small_dib()}}, 0xC351), "Illegal CLP File -- Bad Header"},
        {Bytes{0x50, 0xC3}, "Incomplete CLP file, cannot load"},
        {cut, "Incomplete CLP file, cannot load"},
        {shortData, "Incomplete CLP file, cannot load"},
        {clp_file({{1, Bytes(4, 0)}, {9, Bytes(4, 0)}}), "No BMP or DIB format found in CLP file, cannot load"},
        {clp_file({{8, core}}), "Illegal DIB header in CLP file, cannot load"},
        {clp_file({{2, device_bitmap(1, 8)}}),
         "This Clipboard file contains a device dependent bitmap which is incompatible with the current device, "
         "cannot load."},
        {clp_file({{8, small_dib(1)}}), "Illegal DIB header in CLP file, cannot load"},  // RLE8 at 24 bits
        {clp_file({{8, [] {
                        Bytes d = info_header(4, 1, 8, 1, 4, 2);
                        Bytes t = gray_table(2);
                        d.insert(d.end(), t.begin(), t.end());
                        d.insert(d.end(), {9, 1, 0, 1});
                        return d;
                    }()}}),
         "Error decompressing RLE image"},
    };
    for (const Refusal &r : refusals) {
        boxes().clear();
        EXPECT_EQ(decode(r.file), nullptr);
        ASSERT_EQ(boxes().size(), 1u) << r.text;
        EXPECT_EQ(boxes()[0].text, r.text);
    }
}

TEST_F(BmpTest, ClipboardLoadThroughTheCatalogueSaysClpbrd) {
    static std::string creator;
    LoadPanelHooks hooks = {};
    hooks.close = [] { creator = loadinfo_text(LI_CREATOR) ? loadinfo_text(LI_CREATOR) : ""; };
    load_panel_set_hooks(&hooks);
    write_file(path("a.clp"), bytes_to_string(clp_file({{8, small_dib()}})));
    HGLOBAL dib = load_as("CLP", path("a.clp"));
    load_panel_set_hooks(nullptr);
    ASSERT_NE(dib, nullptr) << last_text();
    EXPECT_EQ(creator, "Clpbrd");
    GlobalFree(dib);
}

}  // namespace
