#include <string.h>

#include <algorithm>

#include "codecs/registry.h"
#include "engine_test_support.h"

namespace {

class Catalogue : public CoreTest {};

/* The filter list split into its (name, pattern) pairs. */
std::vector<std::pair<std::string, std::string>> split_filter(const char *list) {
    std::vector<std::pair<std::string, std::string>> pairs;
    while (*list) {
        std::string name = list;
        list += name.size() + 1;
        std::string pattern = list;
        list += pattern.size() + 1;
        pairs.push_back({name, pattern});
    }
    return pairs;
}

std::vector<std::string> filter_extensions(int forSave) {
    std::vector<char> buf(catalogue_filter_bytes(forSave));
    catalogue_build_filter(forSave, buf.data(), buf.size(), nullptr, 0);
    std::vector<std::string> exts;
    for (auto &p : split_filter(buf.data())) exts.push_back(p.second.substr(2));
    return exts;
}

int register_plugin(const char *ext, const char *name, const char *path, DWORD code, int canLoad = 1) {
    BYTE caps[6] = {1, 1, 1, 0, 1, 0};
    return catalogue_register(KIND_IMAGE, ext, name, canLoad ? LoadByPlugin : LoadNone, SaveByPlugin,
                              ValidateAlways, caps, path, code);
}

TEST_F(Catalogue, BuiltinsAreRegisteredInTheirFixedOrderWithNamesFromTheStringTable) {
    ASSERT_EQ(catalogue_count(), 36);
    EXPECT_EQ(catalogue_last_index(), 35);
    EXPECT_STREQ(catalogue_display_name(0), "* - List all files");
    EXPECT_STREQ(catalogue_display_name(17), "JPG- Orvanta JPEG JFIF");
    EXPECT_STREQ(catalogue_display_name(35), "WPG- WordPerfect");
    EXPECT_EQ(catalogue_format_code(0), 3u);
    EXPECT_EQ(catalogue_format_code(14), 7u);
    EXPECT_EQ(catalogue_format_code(33), 113u);
    EXPECT_EQ(catalogue_kinds(1), KIND_VIDEO);
    EXPECT_EQ(catalogue_kinds(22), KIND_MIDI);
    EXPECT_EQ(catalogue_kinds(34), KIND_WAVE);
    EXPECT_EQ(catalogue_dib_index(), 7);
    EXPECT_EQ(catalogue_icon_index(), 12);
    EXPECT_EQ(catalogue_save_caps(25, 0), 10);
    EXPECT_EQ(catalogue_save_caps(32, 3), 5);
    EXPECT_EQ(catalogue_save_caps(32, 6), 0) << "slot out of range";
    EXPECT_TRUE(catalogue_caps_test(7, 0, SC_COMPRESS_OPTION));
    EXPECT_FALSE(catalogue_caps_test(7, 4, SC_COMPRESSIBLE));
    EXPECT_EQ(catalogue_index_of_code(81), 25);
    EXPECT_EQ(catalogue_index_of_code(4242), -1);
    for (int i = 0; i < 36; i++) {
        EXPECT_EQ(catalogue_entry(i)->validate, (FmtValidateProc)ValidateAlways);
        EXPECT_FALSE(catalogue_is_plugin(i));
    }
}

TEST_F(Catalogue, HandlerSentinelsDecideLoaderAndWriterQuestions) {
    EmptyCodecSlot noBmp("BMP");
    EXPECT_FALSE(catalogue_has_loader(8)) << "EPS cannot be opened";
    EXPECT_TRUE(catalogue_has_loader(14)) << "IMG has a disabled reader";
    EXPECT_FALSE(catalogue_listed_for_open(14));
    EXPECT_TRUE(catalogue_has_writer(6)) << "CVP has a disabled writer";
    EXPECT_FALSE(catalogue_listed_for_save(6));
    EXPECT_FALSE(catalogue_has_writer(4));
    EXPECT_TRUE(catalogue_listed_for_open(3)) << "an empty codec slot still lists the format";
    EXPECT_EQ(catalogue_entry(3)->load, (FmtLoadProc)CodecMissingLoad);
    EXPECT_NE((void *)LoadNone, (void *)LoadDisabled);
    EXPECT_NE((void *)SaveNone, (void *)SaveDisabled);
    EXPECT_NE((void *)LoadByPlugin, (void *)LoadDisabled);
    EXPECT_FALSE(catalogue_has_loader(-1));
    EXPECT_FALSE(catalogue_has_writer(36));
}

TEST_F(Catalogue, DetectionUsesTheLastExtensionAndTheFirstMatchingEntry) {
    EXPECT_EQ(detect_format("photo.bmp"), 3);
    EXPECT_EQ(detect_format("PHOTO.BMP"), 3);
    EXPECT_EQ(detect_format("photo.Bmp"), 3);
    EXPECT_EQ(detect_format("dir.v2/archive.tar.gif"), 10);
    EXPECT_EQ(detect_format("scan.IMG"), 14) << "Aurora wins over DT-IRIS and GEM";
    EXPECT_EQ(detect_format("x.pic"), 18) << "PIC is the JPEG-codec entry";
    EXPECT_EQ(detect_format("noextension"), -1);
    EXPECT_EQ(detect_format("trailing."), -1);
    EXPECT_EQ(detect_format("C:\\PICS.BMP\\README"), -1) << "a dot in a directory is no extension";
    EXPECT_EQ(detect_format("pics.gif/readme"), -1);
    EXPECT_EQ(detect_format("a.tiff"), -1);
    EXPECT_EQ(detect_format("a.verylongextension"), -1);
    EXPECT_EQ(detect_format(""), -1);
    EXPECT_EQ(detect_format(nullptr), -1);
}

TEST_F(Catalogue, OpenListHoldsLoadableFormatsWithTheWildCardFirst) {
    std::vector<char> buf(catalogue_filter_bytes(0));
    DWORD codes[40];
    int n = catalogue_build_filter(0, buf.data(), buf.size(), codes, 40);
    auto pairs = split_filter(buf.data());
    ASSERT_EQ((int)pairs.size(), n);
    EXPECT_EQ(pairs[0].first, "* - List all files");
    EXPECT_EQ(pairs[0].second, "*.*");
    EXPECT_EQ(codes[0], 3u);
    std::vector<std::string> exts = filter_extensions(0);
    for (const char *absent : {"BIT", "CUT", "CVP", "IMG", "MCP", "MSP", "SVW", "EPS"})
        EXPECT_EQ(std::count(exts.begin(), exts.end(), absent), 0) << absent;
    for (const char *present : {"AVI", "MID", "WAV", "PCT", "LBM"})
        EXPECT_EQ(std::count(exts.begin(), exts.end(), present), 1) << present;
    EXPECT_EQ(n, 26);
    for (int i = 0; i < n; i++)
        EXPECT_EQ(pairs[i].first, catalogue_display_name(catalogue_index_of_code(codes[i]))) << i;
}

TEST_F(Catalogue, SaveListHoldsTheWritableFormatsInCatalogueOrder) {
    std::vector<std::string> expected = {"BMP", "DIB", "EPS", "GEN", "GIF", "HEX", "ICO", "IFF", "JPG", "PIC",
                                         "KQP", "PCX", "PPM", "RAS", "RGB", "RLE", "TGA", "TIF", "WPG"};
    EXPECT_EQ(filter_extensions(1), expected);
    DWORD codes[40];
    int n = catalogue_build_filter(1, nullptr, 0, codes, 40);
    ASSERT_EQ(n, 19);
    EXPECT_EQ(codes[0], 9u);
    EXPECT_EQ(codes[18], 119u);
}

TEST_F(Catalogue, DialogsStartOnTheCurrentFormatsPosition) {
    EXPECT_EQ(catalogue_filter_position(0, 0), 1);
    EXPECT_EQ(catalogue_filter_position(0, 3), 3) << "after * and AVI (BIT is not listed)";
    EXPECT_EQ(catalogue_filter_position(1, 3), 1);
    EXPECT_EQ(catalogue_filter_position(1, 35), 19);
    EXPECT_EQ(catalogue_filter_position(1, 26), 1) << "PCT cannot be saved: the first position";
    EXPECT_EQ(catalogue_filter_position(0, -1), 1);
}

TEST_F(Catalogue, FilterListNeverOverrunsABufferOf128BytesPerEntry) {
    std::string longName(300, 'N');
    int index = register_plugin("LNG", longName.c_str(), "/nonexistent/plugin.so", 900);
    ASSERT_EQ(index, 36);
    size_t budget = (size_t)(catalogue_count() - 1) * 128;
    std::vector<char> buf(budget + 64, '\x7f');
    int n = catalogue_build_filter(0, buf.data(), budget, nullptr, 0);
    auto pairs = split_filter(buf.data());
    ASSERT_EQ((int)pairs.size(), n);
    EXPECT_EQ(pairs.back().second, "*.LNG");
    EXPECT_EQ(pairs.back().first.size() + 1 + pairs.back().second.size() + 1, 128u) << "cut to one entry's room";
    for (size_t i = budget; i < buf.size(); i++) ASSERT_EQ(buf[i], '\x7f') << "written past the budget";
    /* A buffer too small for everything ends the list early, still closed. */
    char small[40];
    EXPECT_EQ(catalogue_build_filter(0, small, sizeof small, nullptr, 0), 1);
    EXPECT_EQ(split_filter(small).size(), 1u);
    DWORD codes[2];
    EXPECT_EQ(catalogue_build_filter(1, nullptr, 0, codes, 2), 2);
}

TEST_F(Catalogue, PluginEntriesFollowBuiltinsAndAreShadowedOnSharedExtensions) {
    int gif = register_plugin("GIF", "GIF- plug-in", TEST_PLUGIN_PATH, 700);
    int own = register_plugin("ZZZ", "ZZZ- plug-in", TEST_PLUGIN_PATH, 701);
    EXPECT_EQ(gif, 36);
    EXPECT_EQ(own, 37);
    EXPECT_EQ(detect_format("a.gif"), 10);
    EXPECT_EQ(detect_format("take.zzz"), 37) << "the plug-in validates names with 'take'";
    EXPECT_EQ(detect_format("other.zzz"), -1) << "the plug-in refuses the file";
    EXPECT_TRUE(catalogue_is_plugin(own));
    EXPECT_EQ(catalogue_entry(own)->pluginPath[0], '/') << "expanded to a full path";
    int lower = register_plugin("low", "low- plug-in", TEST_PLUGIN_PATH, 703);
    EXPECT_EQ(detect_format("take.LOW"), lower) << "announced in lower case, found all the same";
    int missing = register_plugin("MIS", "missing", "relative/missing.so", 702);
    EXPECT_STREQ(catalogue_entry(missing)->pluginPath, "relative/missing.so") << "kept as given when not found";
}

TEST_F(Catalogue, RestoringCurrentFormatsFallsBackToDibForUnusableIndexes) {
    catalogue_restore_current(8, 8);
    EXPECT_EQ(catalogue_current_load(), 7) << "EPS cannot load";
    EXPECT_EQ(catalogue_current_save(), 8) << "EPS can save";
    catalogue_restore_current(-1, -1);
    EXPECT_EQ(catalogue_current_load(), 7);
    EXPECT_EQ(catalogue_current_save(), 7);
    catalogue_restore_current(36, 36);
    EXPECT_EQ(catalogue_current_load(), 7);
    EXPECT_EQ(catalogue_current_save(), 7);
    catalogue_restore_current(14, 4);
    EXPECT_EQ(catalogue_current_load(), 14) << "a disabled reader is still a loader";
    EXPECT_EQ(catalogue_current_save(), 7) << "CLP has no writer";
    catalogue_restore_current(25, 6);
    EXPECT_EQ(catalogue_current_load(), 25);
    EXPECT_EQ(catalogue_current_save(), 6) << "CVP's writer exists, though disabled";
}

TEST_F(Catalogue, FormatErrorNamesTheUpperCaseExtension) {
    catalogue_format_error(9493, 35);
    EXPECT_EQ(last_text(), "Error decompressing WPG file, cannot load");
    int lower = catalogue_register(KIND_IMAGE, "xyz", "x", LoadNone, SaveNone, ValidateAlways, nullptr, nullptr, 1);
    catalogue_format_error(9493, lower);
    EXPECT_EQ(last_text(), "Error decompressing XYZ file, cannot load");
}

TEST_F(Catalogue, FreeAllEmptiesTheCatalogue) {
    catalogue_free_all();
    EXPECT_EQ(catalogue_count(), 0);
    EXPECT_EQ(catalogue_dib_index(), -1);
    EXPECT_EQ(detect_format("a.bmp"), -1);
    EXPECT_EQ(catalogue_register_builtins(), 1);
    EXPECT_EQ(catalogue_count(), 36);
}

}  // namespace
