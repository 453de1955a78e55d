#include <map>
#include <string.h>

#include "engine_test_support.h"
#include "lumacast_strings.h"

namespace {

/* A store in memory: values by name, and a log of the keys opened. */
struct MemoryStore {
    std::map<std::string, std::string> values;
    std::vector<std::string> opened;
    int opens = 0;
};

int store_open(void *c, const char *product, const char *version, const char *section) {
    MemoryStore *s = (MemoryStore *)c;
    s->opens++;
    s->opened.push_back(std::string(product) + "\\" + version + "\\" + section);
    return 1;
}
int store_read(void *c, const char *name, LONG *value) {
    MemoryStore *s = (MemoryStore *)c;
    auto it = s->values.find(name);
    if (it == s->values.end()) return 0;
    *value = (LONG)strtoll(it->second.c_str(), nullptr, 10);
    return 1;
}
int store_write(void *c, const char *name, const char *text) {
    ((MemoryStore *)c)->values[name] = text;
    return 1;
}
void store_close(void *) {}

class Settings : public CoreTest {
protected:
    MemoryStore memory;
    void use_store() {
        SettingsStore s = {&memory, store_open, store_read, store_write, store_close};
        settings_set_store(&s);
    }
};

TEST_F(Settings, DefaultsOfAFreshInstallation) {
    settings_load_all();
    const struct {
        UINT offset;
        LONG value;
        const char *name;
    } expected[] = {
        {SET_TIF_1_BIT_COMPRESSION, 1, "tif_1_bit_compression"}, {SET_SAVE_DITHER, 0, "save_dither"},
        {SET_SAVE_WARN_COLORLOSS, 1, "save_warn_colorloss"},     {SET_METAFILE_SIZE, 100, "metafile_size"},
        {SET_CAPTURE_KEY, 122, "capture_key"},                   {SET_STATUS_WND, 3, "status_wnd"},
        {SET_CAPTURE_MODE, 0x202, "capture_mode"},               {SET_LOAD_PROC, -1, "load_proc"},
        {SET_SAVE_PROC, -1, "save_proc"},                        {SET_DITHER_TYPE, 2, "dither_type"},
        {SET_ALPHA_DISPLAY, 3, "alpha_display"},
    };
    char name[40];
    for (auto &e : expected) {
        EXPECT_EQ(settings_read(e.offset), e.value) << e.name;
        ASSERT_TRUE(settings_name(e.offset, name, sizeof name));
        EXPECT_STREQ(name, e.name);
        EXPECT_EQ(settings_offset_of(e.name), (int)e.offset);
        EXPECT_FALSE(settings_changed(e.offset));
    }
    EXPECT_EQ(settings_offset_of("no_such_value"), -1);
    EXPECT_EQ(settings_read(100), 0) << "past the table";
    EXPECT_EQ(settings_read(2), 0) << "not a value's offset";
    char dither[32];
    LoadStringA(COMPAT_MODULE_INSTANCE(lumacast_strings), 20745 + (UINT)settings_read(SET_DITHER_TYPE), dither,
                sizeof dither);
    EXPECT_STREQ(dither, "Floyd-Steinberg");
}

TEST_F(Settings, StoredValuesWinAndTiffCompressionZeroBecomesPackBits) {
    memory.values["tif_8_bit_compression"] = "0";
    memory.values["tif_1_bit_compression"] = "4";
    memory.values["dither_type"] = "5";
    memory.values["load_proc"] = "4294967295";
    use_store();
    settings_load_all();
    EXPECT_EQ(settings_read(SET_TIF_8_BIT_COMPRESSION), 1);
    EXPECT_FALSE(settings_changed(SET_TIF_8_BIT_COMPRESSION)) << "the fix-up is not stored";
    EXPECT_EQ(settings_read(SET_TIF_1_BIT_COMPRESSION), 4);
    EXPECT_EQ(settings_read(SET_DITHER_TYPE), 5);
    EXPECT_EQ(settings_read(SET_LOAD_PROC), -1);
    EXPECT_EQ(settings_read(SET_SAVE_PROC), -1) << "missing: the default";
    EXPECT_EQ(memory.opened.front(), "Lumacast\\3.50\\Core");
}

TEST_F(Settings, OnlyMarkedValuesAreStoredAsDecimalText) {
    use_store();
    settings_load_all();
    memory.opens = 0;
    settings_write(SET_SAVE_PROC, 8);
    settings_store_changed();
    EXPECT_EQ(memory.opens, 0) << "writing does not mark";
    settings_mark_changed(SET_SAVE_PROC, 1);
    settings_write(SET_LOAD_PROC, -1);
    settings_mark_changed(SET_LOAD_PROC, 1);
    settings_store_changed();
    EXPECT_EQ(memory.values["save_proc"], "8");
    EXPECT_EQ(memory.values["load_proc"], "-1");
    EXPECT_FALSE(settings_changed(SET_SAVE_PROC));
    memory.opens = 0;
    settings_store_changed();
    EXPECT_EQ(memory.opens, 0);
}

TEST_F(Settings, WithoutAStoreEveryValueKeepsItsDefault) {
    settings_write(SET_KEEP_UNDO, 0);
    settings_mark_changed(SET_KEEP_UNDO, 1);
    settings_store_changed();
    EXPECT_FALSE(settings_changed(SET_KEEP_UNDO));
    settings_load_all();
    EXPECT_EQ(settings_read(SET_KEEP_UNDO), 1);
}

}  // namespace
