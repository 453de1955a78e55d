// File-type registration and extension association under
// HKEY_CLASSES_ROOT.  Type, class identifier and extensions carry the
// process id, and every key made here is deleted again.
#include <vector>

#include "registry_support.h"

namespace {

class FileTypes : public ::testing::Test {
protected:
    std::string type, classId, program = "C:\\Lumacast\\lumacast.exe";
    std::vector<std::string> made;  // keys under HKEY_CLASSES_ROOT to delete

    void SetUp() override {
        char buf[64];
        snprintf(buf, sizeof buf, "LcTest%lu", GetCurrentProcessId());
        type = buf;
        snprintf(buf, sizeof buf, "{0A6DC900-D3ED-11CE-8C8C-%012lu}", GetCurrentProcessId());
        classId = buf;
        made = {type + ".Image", type + ".Project", "CLSID\\" + classId};
        for (auto &k : made) ASSERT_FALSE(key_exists(HKEY_CLASSES_ROOT, k)) << k;
    }
    void TearDown() override {
        for (auto &k : made) {
            SHDeleteKeyA(HKEY_CLASSES_ROOT, k.c_str());
            EXPECT_FALSE(key_exists(HKEY_CLASSES_ROOT, k)) << k;
        }
    }
    std::string ext(const char *suffix) {
        std::string e = "lc" + std::to_string(GetCurrentProcessId()) + suffix;
        made.push_back("." + e);
        EXPECT_FALSE(key_exists(HKEY_CLASSES_ROOT, "." + e));
        return e;
    }
    std::string text(const std::string &k) { return default_text(HKEY_CLASSES_ROOT, k); }
};

TEST_F(FileTypes, ImageTypeKeysAndValues) {
    HKEY root = nullptr;
    ASSERT_TRUE(ZYN_REG_OpenImageExt(&root, type.c_str(), program.c_str(), classId.c_str(), 1));
    ASSERT_NE(root, nullptr);
    const std::string clsid = "CLSID\\" + classId;
    EXPECT_EQ(text(type + ".Image"), type + " Image");
    EXPECT_EQ(text(type + ".Image\\shell\\open\\command"), program + " %1");
    EXPECT_EQ(text(type + ".Image\\CLSID"), classId);
    EXPECT_EQ(text(clsid), type + " Image");
    EXPECT_EQ(text(clsid + "\\DefaultIcon"), program + ",1");
    EXPECT_EQ(text(clsid + "\\shell\\open\\command"), program + " %1");
    EXPECT_EQ(text(clsid + "\\ProgID"), type + ".Image");
    ZYN_REG_CloseExtensions(root);
}

TEST_F(FileTypes, DdeFormUsesIconFiveAndProjectsIconFour) {
    HKEY root = nullptr;
    ASSERT_TRUE(ZYN_REG_OpenImageExtDDE(&root, type.c_str(), program.c_str(), classId.c_str()));
    EXPECT_EQ(text("CLSID\\" + classId + "\\DefaultIcon"), program + ",5");
    ZYN_REG_CloseExtensions(root);

    ASSERT_TRUE(ZYN_REG_OpenProjectExt(&root, type.c_str(), program.c_str(), classId.c_str()));
    EXPECT_EQ(text(type + ".Project"), type + " Project");
    EXPECT_EQ(text(type + ".Project\\shell\\open\\command"), program + " %1");
    EXPECT_EQ(text(type + ".Project\\CLSID"), classId);
    EXPECT_EQ(text("CLSID\\" + classId), type + " Project");
    EXPECT_EQ(text("CLSID\\" + classId + "\\DefaultIcon"), program + ",4");
    EXPECT_EQ(text("CLSID\\" + classId + "\\ProgID"), type + ".Project");
    ZYN_REG_CloseExtensions(root);
}

TEST_F(FileTypes, NewExtensionsPointAtTheType) {
    HKEY root = nullptr;
    ASSERT_TRUE(ZYN_REG_OpenImageExt(&root, type.c_str(), program.c_str(), classId.c_str(), 1));
    std::string image = ext("i"), project = ext("p");
    EXPECT_TRUE(ZYN_REG_SetImageExt(root, image.c_str(), type.c_str()));
    EXPECT_EQ(text("." + image), type + ".Image");
    EXPECT_TRUE(ZYN_REG_SetProjectExt(root, project.c_str(), type.c_str()));
    EXPECT_EQ(text("." + project), type + ".Project");
    ZYN_REG_CloseExtensions(root);
}

TEST_F(FileTypes, AnExtensionWithAnOwnerKeepsIt) {
    std::string owned = ext("o"), again = ext("a"), unowned = ext("u");
    set_default_raw(HKEY_CLASSES_ROOT, "." + owned, "Other.Document");
    HKEY root = nullptr;
    ASSERT_TRUE(ZYN_REG_OpenImageExt(&root, type.c_str(), program.c_str(), classId.c_str(), 1));
    EXPECT_FALSE(ZYN_REG_SetImageExt(root, owned.c_str(), type.c_str()));
    EXPECT_EQ(text("." + owned), "Other.Document");
    // Our own association is not written twice.
    EXPECT_TRUE(ZYN_REG_SetImageExt(root, again.c_str(), type.c_str()));
    EXPECT_FALSE(ZYN_REG_SetImageExt(root, again.c_str(), "Another"));
    EXPECT_EQ(text("." + again), type + ".Image");
    // A key with an empty default names no type.
    set_default_raw(HKEY_CLASSES_ROOT, "." + unowned, "");
    EXPECT_TRUE(ZYN_REG_SetImageExt(root, unowned.c_str(), type.c_str()));
    EXPECT_EQ(text("." + unowned), type + ".Image");
    ZYN_REG_CloseExtensions(root);
}

TEST_F(FileTypes, BadArgumentsRegisterNothing) {
    HKEY root = reinterpret_cast<HKEY>(1);
    EXPECT_FALSE(ZYN_REG_OpenImageExt(&root, "", program.c_str(), classId.c_str(), 1));
    EXPECT_EQ(root, nullptr);
    EXPECT_FALSE(ZYN_REG_OpenImageExt(nullptr, type.c_str(), program.c_str(), classId.c_str(), 1));
    EXPECT_FALSE(ZYN_REG_OpenProjectExt(&root, type.c_str(), program.c_str(), nullptr));
    EXPECT_FALSE(key_exists(HKEY_CLASSES_ROOT, type + ".Image"));
    EXPECT_FALSE(key_exists(HKEY_CLASSES_ROOT, type + ".Project"));
    EXPECT_FALSE(ZYN_REG_SetImageExt(nullptr, "bmp", type.c_str()));
    ZYN_REG_CloseExtensions(nullptr);
}

}  // namespace
