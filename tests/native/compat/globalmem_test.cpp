#include <gtest/gtest.h>
#include <string.h>

#include "platform.h"

TEST(GlobalMem, LockCountsAndContentsSurviveReAlloc) {
    HGLOBAL h = GlobalAlloc(GHND, 16);
    ASSERT_NE(h, nullptr);
    unsigned char *p = static_cast<unsigned char *>(GlobalLock(h));
    for (int i = 0; i < 16; ++i) EXPECT_EQ(p[i], 0);  // GHND zero-fills
    memset(p, 0xAB, 16);
    EXPECT_NE(GlobalLock(h), nullptr);
    EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 2u);
    // A locked block cannot grow: it might have to move.
    EXPECT_EQ(GlobalReAlloc(h, 4096, GMEM_MOVEABLE), nullptr);
    EXPECT_TRUE(GlobalUnlock(h));
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_FALSE(GlobalUnlock(h));  // not locked any more
    ASSERT_EQ(GlobalReAlloc(h, 4096, GMEM_MOVEABLE), h);
    EXPECT_EQ(GlobalSize(h), 4096u);
    p = static_cast<unsigned char *>(GlobalLock(h));
    EXPECT_EQ(p[0], 0xAB);
    EXPECT_EQ(p[15], 0xAB);
    GlobalUnlock(h);
    EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST(GlobalMem, RefusesHugeBlocksAndBadHandles) {
    long live = compat_global_live_blocks();
    EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, (size_t)COMPAT_GLOBAL_LIMIT + 1), nullptr);
    EXPECT_EQ(compat_global_live_blocks(), live);
    int not_a_block = 0;
    EXPECT_EQ(GlobalLock(&not_a_block), nullptr);
    EXPECT_EQ(GlobalSize(&not_a_block), 0u);
    EXPECT_EQ(GlobalFlags(&not_a_block), (UINT)GMEM_INVALID_HANDLE);
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

static const CompatStringEntry kEntries[] = {{7, "seven"}, {300, "three hundred"}, {19715, "Warning"}};
static const CompatStringModule kModule = {"test", kEntries, 3};

TEST(StringTable, LoadsByIdAndTruncatesLikeWindows) {
    char buf[8];
    HINSTANCE inst = COMPAT_MODULE_INSTANCE(kModule);
    EXPECT_EQ(LoadStringA(inst, 7, buf, sizeof buf), 5);
    EXPECT_STREQ(buf, "seven");
    EXPECT_EQ(LoadStringA(inst, 300, buf, sizeof buf), 7);
    EXPECT_STREQ(buf, "three h");
    EXPECT_EQ(LoadStringA(inst, 8, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(LoadStringA(inst, 19715, buf, 1), 0);
}
