// The entry points against a recording host: the version word, init and
// its failures, which window is active, the menu's state, the command and
// help ranges, and the settings' order, types and ranges.
#include <gtest/gtest.h>

#include "codec_images.h"
#include "fake_host.h"

namespace {

std::vector<std::string> menu_texts(const FakeHost &h) {
    std::vector<std::string> t;
    for (const FakeItem &i : h.menu) t.push_back(i.text);
    return t;
}

HGLOBAL small(int bpp) { return make_dib(5, 3, bpp, bpp <= 8 ? 1 << bpp : 0, [](int x, int y) { return x + y; }); }

}  // namespace

TEST(ImagePluginEntry, OnlyVersionWord0101IsAccepted) {
    FakeHost h;
    EXPECT_EQ(img_plugin_version(&h.plugin, 0x0101), 1);
    EXPECT_EQ(img_plugin_version(&h.plugin, 0xABCD0101), 1) << "only the low 16 bits count";
    EXPECT_TRUE(h.boxes.empty());
    EXPECT_EQ(img_plugin_version(&h.plugin, 0x0102), 0);
    EXPECT_EQ(img_plugin_version(&h.plugin, 0x0201), 0);
    EXPECT_EQ(img_plugin_version(&h.plugin, 0x0100), 0);
    EXPECT_EQ(h.boxes, (std::vector<std::string>{"Image: Incorrect version number (2)",
                                                 "Image: Incorrect version number (1)",
                                                 "Image: Incorrect version number (2)"}));
}

TEST(ImagePluginEntry, InitFillsTheMenuReadsTheSettingsAndRegistersTheClasses) {
    FakeHost h;
    ASSERT_EQ(img_plugin_init(&h.plugin, 7, (HWND)0x55), 1);
    EXPECT_EQ(menu_texts(h), (std::vector<std::string>{"Invert Image", "Flip Image", "Mirror Image", "", "Crop...",
                                                       "Scale...", "Rotate...", "Frame/Caption...", "Tile...",
                                                       "Mask..."}));
    EXPECT_EQ(h.menu[0].id, 0x5000u);
    EXPECT_EQ(h.menu[3].id, 0u);
    EXPECT_EQ(h.menu[9].id, 0x5008u);
    // Four groups, each opened and closed, in the order scale, frame, mask, tile.
    EXPECT_EQ(h.calls_of("open").size(), 4u);
    EXPECT_EQ(h.calls_of("open")[0], "open Lumacast/3.50/Image");
    EXPECT_EQ(h.calls_of("get"),
              (std::vector<std::string>{"get KeepAspect bool", "get ScaleMeasure word", "get ScaleUnits word",
                                        "get ScaleQuality word", "get CustomResX int", "get CustomResY int",
                                        "get Style word", "get ChooseColor word", "get Alignment word",
                                        "get Selected word", "get Invert bool", "get AlphaMask bool",
                                        "get AlphaColor bool", "get Mirror bool"}));
    EXPECT_EQ(h.calls_of("register"), (std::vector<std::string>{"register 0", "register 1", "register 2"}));
    EXPECT_TRUE(h.boxes.empty());
}

TEST(ImagePluginEntry, InitFailuresLeaveNoCommands) {
    {
        FakeHost h;
        h.menuAvailable = false;
        EXPECT_EQ(img_plugin_init(&h.plugin, 0, (HWND)0x55), 0);
        EXPECT_EQ(h.boxes, (std::vector<std::string>{"Image: Cannot add popup menu"}));
    }
    {
        // The sixth id cannot be had: five entries and the separator are in.
        FakeHost h;
        h.idsLeft = 5;
        ASSERT_EQ(img_plugin_init(&h.plugin, 0, (HWND)0x55), 0);
        EXPECT_EQ(menu_texts(h), (std::vector<std::string>{"Invert Image", "Flip Image", "Mirror Image", "",
                                                           "Crop...", "Scale..."}));
        EXPECT_EQ(h.boxes, (std::vector<std::string>{"Image: Cannot get menu id from library"}));
        HWND w = h.add_window(small(24));
        img_plugin_activate(&h.plugin, w, 1);
        LRESULT result = 0;
        EXPECT_EQ(img_plugin_menu_handler(&h.plugin, 0x5000, &result), 0) << "its handlers match no command";
        EXPECT_EQ(img_plugin_help_handler(&h.plugin, 0x5000, 0, &result), 0);
    }
    {
        // A class left behind by an earlier load is replaced; one that
        // cannot be registered twice stops init.
        FakeHost h;
        h.classFailures[1] = 1;
        EXPECT_EQ(h.init(), 1);
        FakeHost h2;
        h2.classFailures[2] = 2;
        EXPECT_EQ(img_plugin_init(&h2.plugin, 0, (HWND)0x55), 0);
        EXPECT_EQ(h2.calls_of("register").size(), 4u);
        EXPECT_EQ(h2.calls_of("unregister"), (std::vector<std::string>{"unregister 2"}));
        EXPECT_EQ(h2.boxes, (std::vector<std::string>{"Image DLL: Cannot initialize, cannot load"}));
    }
}

TEST(ImagePluginEntry, OnlyImageWindowsOpenToOperationsBecomeActive) {
    FakeHost h;
    ASSERT_EQ(h.init(), 1);
    HWND w = h.add_window(small(8));
    auto all_enabled = [&h](bool on) {
        img_plugin_menu_init(&h.plugin, &h.menu);
        for (const FakeItem &i : h.menu)
            if (i.id && i.enabled != on) return false;
        return true;
    };
    EXPECT_TRUE(all_enabled(false)) << "no active window";
    EXPECT_EQ(img_plugin_activate(&h.plugin, w, 1), 1);
    EXPECT_TRUE(all_enabled(true));
    EXPECT_EQ(img_plugin_activate(&h.plugin, w, 0x10000), 1);
    EXPECT_TRUE(all_enabled(false)) << "only the low 16 bits of the flag count";
    img_plugin_activate(&h.plugin, w, 1);
    HWND other = h.add_window(small(8));
    img_plugin_activate(&h.plugin, other, 0);
    EXPECT_TRUE(all_enabled(true)) << "another window closing leaves the active one";
    for (DWORD media : {0x40u, 0x200u, 0x400u}) {
        h.windows[w].flags = media;
        img_plugin_activate(&h.plugin, w, 1);
        EXPECT_TRUE(all_enabled(false)) << media;
        h.windows[w].flags = 0;
        EXPECT_TRUE(all_enabled(false)) << "still none after " << media;
    }
    h.windows[w].imageClass = false;
    img_plugin_activate(&h.plugin, w, 1);
    EXPECT_TRUE(all_enabled(false)) << "not GenericWClass";
    h.windows[w].imageClass = true;
    img_plugin_activate(&h.plugin, w, 1);
    HGLOBAL dib = h.windows[w].dib;
    h.windows[w].dib = nullptr;
    EXPECT_TRUE(all_enabled(false)) << "no image in the window";
    h.windows[w].dib = dib;
    h.windows[w].flags = 0x400;
    EXPECT_TRUE(all_enabled(false)) << "a flag set after activation";
}

TEST(ImagePluginEntry, CommandsAndHelpLinesMatchOnlyTheTablesIds) {
    FakeHost h;
    h.idStep = 2;  // a host whose ids leave gaps
    ASSERT_EQ(h.init(), 1);
    HWND w = h.add_window(small(24));
    LRESULT result = 0;
    EXPECT_EQ(img_plugin_menu_handler(&h.plugin, 0x5000, &result), 0) << "no active window";
    img_plugin_activate(&h.plugin, w, 1);
    EXPECT_EQ(img_plugin_menu_handler(&h.plugin, 0x4FFF, &result), 0);
    EXPECT_EQ(img_plugin_menu_handler(&h.plugin, 0x5001, &result), 0) << "between two ids";
    EXPECT_EQ(img_plugin_menu_handler(&h.plugin, 0x5012, &result), 0) << "past entry 9";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(img_plugin_menu_handler(&h.plugin, 0xFFFF0000u | 0x5002, &result), IMG_HANDLED) << "Flip";
    EXPECT_EQ(result, 1);
    EXPECT_EQ(h.calls_of("replace").size(), 1u);

    result = 0;
    EXPECT_EQ(img_plugin_help_handler(&h.plugin, 0x5010, 0x10000, &result), IMG_HANDLED) << "high bits of flags";
    EXPECT_EQ(img_plugin_help_handler(&h.plugin, 0x5010, 1, &result), 0);
    EXPECT_EQ(img_plugin_help_handler(&h.plugin, 0x5011, 0, &result), 0);
    EXPECT_EQ(h.calls_of("help"), (std::vector<std::string>{"help Mask image in active window"}));
    h.calls.clear();
    for (UINT id = 0x5000; id <= 0x5010; id += 2) img_plugin_help_handler(&h.plugin, id, 0, &result);
    EXPECT_EQ(h.calls_of("help").size(), 9u);
    EXPECT_EQ(h.calls_of("help")[5], "help Rotate the image in the active window");
}

TEST(ImagePluginEntry, SettingsKeepDefaultsForMissingOrDamagedValues) {
    FakeHost h;
    h.store = {{"KeepAspect", 0},    {"ScaleMeasure", 2}, {"ScaleUnits", 9},   {"CustomResX", (DWORD)-5},
               {"CustomResY", 300},  {"Style", 1},        {"Alignment", 0x3},  {"Selected", 16},
               {"AlphaMask", 0},     {"Mirror", 1},       {"ChooseColor", 2}};
    ASSERT_EQ(h.init(), 1);
    const ImgSettings &s = h.plugin.settings;
    EXPECT_EQ(s.keepAspect, 0);
    EXPECT_EQ(s.scaleMeasure, 2);
    EXPECT_EQ(s.scaleUnits, 0) << "9 is no unit";
    EXPECT_EQ(s.customResX, 96) << "a negative resolution";
    EXPECT_EQ(s.customResY, 300);
    EXPECT_EQ(s.frameStyle, 1);
    EXPECT_EQ(s.alignment, 9) << "top and centre at once";
    EXPECT_EQ(s.maskSelected, 16);
    EXPECT_EQ(s.alphaMask, 0);
    EXPECT_EQ(s.alphaColor, 1);
    EXPECT_EQ(s.tileMirror, 1);

    // Exit writes every value as a 32-bit number but the resolutions.
    EXPECT_EQ(img_plugin_exit(&h.plugin), 1);
    EXPECT_EQ(h.calls_of("open").size(), 4u);
    EXPECT_EQ(h.calls_of("set").front(), "set KeepAspect dword=0");
    EXPECT_EQ(h.calls_of("set").back(), "set Mirror dword=1");
    EXPECT_EQ(h.calls_of("set").size(), 14u);
    for (const auto &t : h.stored)
        EXPECT_EQ(t.second, t.first.compare(0, 9, "CustomRes") == 0 ? IMG_VALUE_INT : IMG_VALUE_DWORD) << t.first;
    EXPECT_EQ(h.store["ScaleUnits"], 0u);
    EXPECT_EQ(h.calls_of("unregister").size(), 3u);

    FakeHost none;
    none.product = "";  // no store to be had
    ASSERT_EQ(none.init(), 1);
    EXPECT_EQ(none.plugin.settings.alignment, 9);
    EXPECT_EQ(img_plugin_exit(&none.plugin), 0);
}

TEST(ImagePluginEntry, TheCaptionFontComesFromTheStringTable) {
    ImgFrameRecord r;
    img_frame_record_default(&r);
    EXPECT_STREQ(r.font.lfFaceName, "Arial") << "string 1351 replaces Helv";
    EXPECT_EQ(r.font.lfCharSet, 0) << "string 1352, ANSI";
    EXPECT_EQ(img_charset_of_name("SYMBOL"), 2);
    EXPECT_EQ(img_charset_of_name("SHIFTJIS"), 128);
    EXPECT_EQ(img_charset_of_name("OEM"), 255);
    EXPECT_EQ(img_charset_of_name("ansi"), -1) << "any other name leaves the set";
}
