// Test support: a company key of the test's own, deleted again afterwards,
// and direct reads of the registry to check what the store wrote.
#ifndef SETTINGS_REGISTRY_SUPPORT_H
#define SETTINGS_REGISTRY_SUPPORT_H

#include <gtest/gtest.h>
#include <shlwapi.h>
#include <stdio.h>
#include <windows.h>

#include <string>

#include "zynlib.h"

// The default text of root\path; "<missing>" when the key or its default
// value does not exist.
inline std::string default_text(HKEY root, const std::string &path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "<missing>";
    char buf[1024];
    DWORD type = 0, size = sizeof buf - 1;
    LONG r = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE *>(buf), &size);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS) return "<missing>";
    if (type != REG_SZ) return "<not a string>";
    buf[size] = '\0';
    return buf;
}

inline bool key_exists(HKEY root, const std::string &path) {
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

inline void set_default_raw(HKEY root, const std::string &path, const std::string &text) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                             (DWORD)text.size() + 1),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

// Each test gets a company of its own ("LumacastTest-<pid>-<n>"), so it
// sees nothing left by another run and leaves nothing behind.
class StoreTest : public ::testing::Test {
protected:
    std::string company;
    std::string userCompany;     // Software\<company> under HKEY_CURRENT_USER
    std::string machineCompany;  // SOFTWARE\<company> under HKEY_LOCAL_MACHINE

    void SetUp() override {
        static int serial;
        char name[64];
        snprintf(name, sizeof name, "LumacastTest-%lu-%d", GetCurrentProcessId(), ++serial);
        company = name;
        userCompany = "Software\\" + company;
        machineCompany = "SOFTWARE\\" + company;
        ASSERT_FALSE(key_exists(HKEY_CURRENT_USER, userCompany));
        ZYN_REG_SetCompany(company.c_str());
        ZYN_REG_SetFormat(TRUE);
    }
    void TearDown() override {
        SHDeleteKeyA(HKEY_CURRENT_USER, userCompany.c_str());
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, machineCompany.c_str());
        EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, userCompany));
        EXPECT_FALSE(key_exists(HKEY_LOCAL_MACHINE, machineCompany));
        ZYN_REG_SetCompany("OrvantaImaging");
        ZYN_REG_SetFormat(TRUE);
    }
};

#endif
