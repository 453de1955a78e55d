// The program's 25 settings kept in the registry: load at start, store of
// the changed values at the end, the TIFF compression fix-up, and the
// current formats stored at the end of the run.
#include <string.h>

#include "core/catalogue.h"
#include "registry_support.h"
#include "shell/settings/settings.h"
#include "shell_win.h"

namespace {

class ProgramSettings : public StoreTest {
protected:
    std::string core;  // the Core section under HKEY_CURRENT_USER

    void SetUp() override {
        StoreTest::SetUp();
        core = userCompany + "\\Lumacast\\3.50\\Core";
        settings_reset_defaults();
        shell_settings_use_registry();
    }
    void TearDown() override {
        settings_set_store(nullptr);
        settings_reset_defaults();
        StoreTest::TearDown();
    }
    std::string stored(const char *valueKey) { return default_text(HKEY_CURRENT_USER, core + "\\" + valueKey); }
    UINT entries() {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, core.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
        DWORD count = 0;
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr);
        RegCloseKey(key);
        return count;
    }
};

TEST_F(ProgramSettings, AFreshInstallationStartsWithTheDefaults) {
    shell_settings_load();
    for (UINT offset = 0; offset < SETTINGS_COUNT * 4; offset += 4) {
        EXPECT_EQ(settings_read(offset), settings_default(offset)) << offset;
        EXPECT_FALSE(settings_changed(offset)) << offset;
    }
    EXPECT_EQ(settings_read(SET_DITHER_TYPE), 2);
    settings_store_changed();
    EXPECT_EQ(entries(), 0u) << "nothing changed, nothing written";
}

TEST_F(ProgramSettings, AllTwentyFiveValuesRoundTrip) {
    shell_settings_load();
    LONG written[SETTINGS_COUNT];
    for (UINT row = 0; row < SETTINGS_COUNT; ++row) {
        // Values unlike the defaults, with negative and large ones among them.
        LONG v = (LONG)(row * 37 + 2);
        if (row % 5 == 3) v = -v;
        if (row * 4 == SET_LOAD_PROC) v = -1;
        if (row * 4 == SET_CAPTURE_MODE) v = 0x7FFFFFFF;
        if (row * 4 == SET_SAVE_PROC) v = -2147483647 - 1;
        written[row] = v;
        settings_write(row * 4, v);
        settings_mark_changed(row * 4, 1);
    }
    settings_store_changed();
    EXPECT_EQ(entries(), (UINT)SETTINGS_COUNT);
    for (UINT offset = 0; offset < SETTINGS_COUNT * 4; offset += 4) EXPECT_FALSE(settings_changed(offset));
    // Names as the store rewrites them, values as decimal text.
    EXPECT_EQ(stored("Tif 1 Bit Compression"), "2");
    EXPECT_EQ(stored("Save Dither"), std::to_string(written[SET_SAVE_DITHER / 4]));
    EXPECT_EQ(stored("alpha Display"), std::to_string(written[SET_ALPHA_DISPLAY / 4]));
    EXPECT_EQ(stored("Load Proc"), "-1");
    EXPECT_EQ(stored("Capture Mode"), "2147483647");
    EXPECT_EQ(stored("Save Proc"), "-2147483648");

    settings_reset_defaults();
    shell_settings_load();
    for (UINT row = 0; row < SETTINGS_COUNT; ++row) {
        EXPECT_EQ(settings_read(row * 4), written[row]) << "offset " << row * 4;
        EXPECT_FALSE(settings_changed(row * 4));
    }
}

TEST_F(ProgramSettings, OnlyChangedValuesAreWritten) {
    shell_settings_load();
    settings_write(SET_KEEP_UNDO, 0);
    settings_mark_changed(SET_KEEP_UNDO, 1);
    settings_write(SET_STATUS_WND, 1);  // written, not marked
    settings_store_changed();
    EXPECT_EQ(entries(), 1u);
    EXPECT_EQ(stored("Keep Undo"), "0");
    EXPECT_EQ(stored("Status Wnd"), "<missing>");
    settings_store_changed();
    EXPECT_EQ(entries(), 1u);
}

TEST_F(ProgramSettings, StoredTiffCompressionZeroIsUsedAsPackBits) {
    HKEY key = ZYN_REG_OpenSettings("Lumacast", "3.50", "Core");
    ASSERT_NE(key, nullptr);
    char n1[] = "tif_1_bit_compression", n4[] = "tif_4_bit_compression", n24[] = "tif_24_bit_compression";
    ZYN_REG_SetValueString(key, n1, "0", 1);
    ZYN_REG_SetValueString(key, n4, "4", 1);
    ZYN_REG_SetValueString(key, n24, "0", 1);
    ZYN_REG_CloseSettings(key);
    shell_settings_load();
    EXPECT_EQ(settings_read(SET_TIF_1_BIT_COMPRESSION), 1);
    EXPECT_EQ(settings_read(SET_TIF_4_BIT_COMPRESSION), 4);
    EXPECT_EQ(settings_read(SET_TIF_24_BIT_COMPRESSION), 1);
    EXPECT_FALSE(settings_changed(SET_TIF_1_BIT_COMPRESSION)) << "not marked changed";
    settings_store_changed();
    EXPECT_EQ(stored("Tif 1 Bit Compression"), "0") << "the stored value stays";
}

TEST_F(ProgramSettings, UnreadableValuesKeepTheirDefaults) {
    set_default_raw(HKEY_CURRENT_USER, core + "\\Dither Type", std::string(80, '5'));
    set_default_raw(HKEY_CURRENT_USER, core + "\\Startup", "2");
    shell_settings_load();
    EXPECT_EQ(settings_read(SET_DITHER_TYPE), 2) << "too long to read";
    EXPECT_EQ(settings_read(SET_STARTUP), 2);
    EXPECT_EQ(settings_read(SET_METAFILE_SIZE), 100);
}

// The end of the run stores the current load and save formats; they come
// back at the next start.
TEST_F(ProgramSettings, EndOfRunStoresTheCurrentFormats) {
    ASSERT_TRUE(shell_catalogue_register());
    shell_settings_load();
    int load = -1, save = -1;
    for (int i = 0; i < catalogue_count(); ++i) {
        if (i == catalogue_dib_index()) continue;
        if (load < 0 && catalogue_has_loader(i)) load = i;
        else if (save < 0 && catalogue_has_writer(i)) save = i;
    }
    ASSERT_GE(load, 0);
    ASSERT_GE(save, 0);
    catalogue_set_current_load(load);
    catalogue_set_current_save(save);
    shell_end_of_run();
    EXPECT_EQ(stored("Load Proc"), std::to_string(load));
    EXPECT_EQ(stored("Save Proc"), std::to_string(save));
    EXPECT_EQ(entries(), 2u);
    shell_end_of_run();  // again, as on shutdown: nothing is lost
    EXPECT_EQ(stored("Load Proc"), std::to_string(load));

    ASSERT_TRUE(shell_catalogue_register());
    settings_reset_defaults();
    shell_settings_load();
    catalogue_restore_current(settings_read(SET_LOAD_PROC), settings_read(SET_SAVE_PROC));
    EXPECT_EQ(catalogue_current_load(), load);
    EXPECT_EQ(catalogue_current_save(), save);
    shell_catalogue_free();
}

}  // namespace
