// Listing the values of a section and the delete operations.
#include <string.h>

#include <set>
#include <vector>

#include "registry_support.h"

namespace {

std::vector<std::string> split_entries(const char *list) {
    std::vector<std::string> names;
    for (const char *p = list; *p; p += strlen(p) + 1) names.push_back(p);
    return names;
}

class Keys : public StoreTest {};

TEST_F(Keys, EntriesListsEveryValueOnceThenAnEmptyName) {
    HKEY key = ZYN_REG_OpenSettings("Lumacast", "3.50", "Capture");
    ASSERT_NE(key, nullptr);
    char list[8 * 65 + 1];
    memset(list, '#', sizeof list);
    EXPECT_EQ(ZYN_REG_GetEntries(key, list), 0u);
    EXPECT_EQ(list[0], '\0');
    char a[] = "cap_file", b[] = "cap_dir", c[] = "cap_file_num_len";
    ZYN_REG_SetValueString(key, a, "shot", 4);
    ZYN_REG_SetValueString(key, b, "C:\\", 3);
    ZYN_REG_SetValueInt(key, c, 3);
    memset(list, '#', sizeof list);
    ASSERT_EQ(ZYN_REG_GetEntries(key, list), 3u);
    std::vector<std::string> names = split_entries(list);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
              (std::set<std::string>{"Cap File", "Cap Dir", "Cap File Num Len"}));
    size_t used = 0;
    for (auto &n : names) used += n.size() + 1;
    EXPECT_EQ(list[used], '\0') << "one more zero closes the list";
    EXPECT_EQ(list[used + 1], '#') << "and nothing after it";
    ZYN_REG_CloseSettings(key);
}

TEST_F(Keys, EntryNamesAreCutTo64Characters) {
    HKEY key = ZYN_REG_OpenSettings("P", "1.00", "S");
    ASSERT_NE(key, nullptr);
    std::string longName(100, 'Q');
    set_default_raw(HKEY_CURRENT_USER, userCompany + "\\P\\1.00\\S\\" + longName, "1");
    char list[2 * 65 + 1];
    ASSERT_EQ(ZYN_REG_GetEntries(key, list), 1u);
    EXPECT_EQ(std::string(list), std::string(64, 'Q'));
    EXPECT_EQ(list[65], '\0');
    EXPECT_EQ(ZYN_REG_GetEntries(nullptr, list), 0u);
    ZYN_REG_CloseSettings(key);
}

TEST_F(Keys, DeleteKeyRemovesOneValue) {
    HKEY key = ZYN_REG_OpenSettings("Lumacast", "3.50", "Core");
    ASSERT_NE(key, nullptr);
    char a[] = "keep_undo", b[] = "status_wnd";
    ZYN_REG_SetValueInt(key, a, 1);
    ZYN_REG_SetValueInt(key, b, 3);
    // Delete takes the name as stored.
    EXPECT_TRUE(ZYN_REG_DeleteKey(key, "Keep Undo"));
    EXPECT_FALSE(ZYN_REG_DeleteKey(key, "Keep Undo")) << "already gone";
    EXPECT_FALSE(ZYN_REG_DeleteKey(key, ""));
    EXPECT_FALSE(ZYN_REG_DeleteKey(key, nullptr));
    char list[4 * 65 + 1];
    ASSERT_EQ(ZYN_REG_GetEntries(key, list), 1u);
    EXPECT_STREQ(list, "Status Wnd");
    ZYN_REG_CloseSettings(key);
}

TEST_F(Keys, DeleteKeyTakesEverythingBelow) {
    set_default_raw(HKEY_CURRENT_USER, userCompany + "\\Tree\\a\\b\\c", "deep");
    set_default_raw(HKEY_CURRENT_USER, userCompany + "\\Tree\\a\\d", "x");
    HKEY company;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, userCompany.c_str(), 0, KEY_ALL_ACCESS, &company), ERROR_SUCCESS);
    EXPECT_TRUE(ZYN_REG_DeleteKey(company, "Tree"));
    RegCloseKey(company);
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, userCompany + "\\Tree"));
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, userCompany));
}

// Sections, versions and products go under both roots; siblings stay.
TEST_F(Keys, DeleteSectionVersionAndProductUnderBothRoots) {
    const char *sections[] = {"Core", "Batch", "Capture"};
    for (const char *s : sections) {
        HKEY u = ZYN_REG_OpenSettings("Lumacast", "3.50", s);
        HKEY m = ZYN_REG_OpenMachineSettings("Lumacast", "3.50", s);
        ASSERT_NE(u, nullptr);
        ASSERT_NE(m, nullptr);
        char name[] = "session";
        ZYN_REG_SetValueDWord(u, name, 12);
        ZYN_REG_SetValueDWord(m, name, 12);
        ZYN_REG_CloseSettings(u);
        ZYN_REG_CloseSettings(m);
    }
    HKEY other = ZYN_REG_OpenSettings("Lumacast", "3.60", "Core");
    ZYN_REG_CloseSettings(other);
    HKEY product = ZYN_REG_OpenSettings("Image", "1.00", "Image");
    ZYN_REG_CloseSettings(product);

    const std::string u = userCompany + "\\Lumacast\\3.50\\", m = machineCompany + "\\Lumacast\\3.50\\";
    ZYN_REG_DeleteSection("Lumacast", "3.50", "Batch");
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, u + "Batch"));
    EXPECT_FALSE(key_exists(HKEY_LOCAL_MACHINE, m + "Batch"));
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, u + "Core\\Session"));
    EXPECT_TRUE(key_exists(HKEY_LOCAL_MACHINE, m + "Capture\\Session"));

    ZYN_REG_DeleteVersion("Lumacast", "3.50");
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, userCompany + "\\Lumacast\\3.50"));
    EXPECT_FALSE(key_exists(HKEY_LOCAL_MACHINE, machineCompany + "\\Lumacast\\3.50"));
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, userCompany + "\\Lumacast\\3.60\\Core"));

    ZYN_REG_DeleteProduct("Lumacast");
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, userCompany + "\\Lumacast"));
    EXPECT_FALSE(key_exists(HKEY_LOCAL_MACHINE, machineCompany + "\\Lumacast"));
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, userCompany + "\\Image\\1.00\\Image"));
}

TEST_F(Keys, DeletingWhatIsMissingOnlyCreatesTheParent) {
    ZYN_REG_DeleteSection("Nothing", "9.99", "None");
    // The parent path is opened with creation, as the store always does.
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, userCompany + "\\Nothing\\9.99"));
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, userCompany + "\\Nothing\\9.99\\None"));
    ZYN_REG_DeleteSection("Nothing", "9.99", "");
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, userCompany + "\\Nothing\\9.99")) << "an empty name deletes nothing";
    ZYN_REG_DeleteProduct(nullptr);
    EXPECT_TRUE(key_exists(HKEY_CURRENT_USER, userCompany));
}

}  // namespace
