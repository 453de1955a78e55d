// CRC, sorting, dates, scrolling arithmetic, paths and blocks.
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <string>

#include "util_internal.h"
#include "zyn_test_support.h"

namespace {

TEST(zynCrc, StandardCrc32WhenTheCallerInverts) {
    const BYTE check[] = "123456789";
    EXPECT_EQ(~ZYN_CRC_ProcessBuffer(nullptr, 0xFFFFFFFFu, check, 9), 0xCBF43926u);
    // Pieces chain through the register.
    DWORD part = ZYN_CRC_ProcessBuffer(nullptr, 0xFFFFFFFFu, check, 4);
    EXPECT_EQ(~ZYN_CRC_ProcessBuffer(nullptr, part, check + 4, 5), 0xCBF43926u);
    EXPECT_EQ(ZYN_CRC_ProcessBuffer(nullptr, 0x1234u, check, 0), 0x1234u);
}

TEST(zynCrc, CallerTableGivesTheSameResult) {
    // One zero byte from register n < 256 leaves table[n].
    DWORD table[256];
    const BYTE zero = 0;
    for (DWORD n = 0; n < 256; ++n) table[n] = ZYN_CRC_ProcessBuffer(nullptr, n, &zero, 1);
    EXPECT_EQ(table[1], 0x77073096u);
    EXPECT_EQ(table[128], 0xEDB88320u);
    EXPECT_EQ(table[255], 0x2D02EF8Du);
    const BYTE text[] = "The quick brown fox";
    EXPECT_EQ(ZYN_CRC_ProcessBuffer(table, 0xFFFFFFFFu, text, 19),
              ZYN_CRC_ProcessBuffer(nullptr, 0xFFFFFFFFu, text, 19));
}

int __cdecl compare_ints(const void *a, const void *b) {
    int x = *static_cast<const int *>(a), y = *static_cast<const int *>(b);
    return (x > y) - (x < y);
}

void expect_sorts(std::vector<int> v, const char *what) {
    std::vector<int> expected = v;
    std::sort(expected.begin(), expected.end());
    ZYN_UTI_QSort(v.data(), (UINT)v.size(), sizeof(int), compare_ints);
    EXPECT_EQ(v, expected) << what << ", " << v.size() << " elements";
}

TEST(zynQSort, SortsEveryShapeOfInput) {
    std::mt19937 rng(7);
    for (size_t n : {0, 1, 2, 3, 5, 17, 1000}) {
        std::vector<int> v(n);
        for (int &x : v) x = (int)(rng() % 50) - 25;  // many duplicates
        expect_sorts(v, "random");
    }
    std::vector<int> v(3000);
    for (size_t i = 0; i < v.size(); ++i) v[i] = (int)i;
    expect_sorts(v, "sorted");
    std::reverse(v.begin(), v.end());
    expect_sorts(v, "reversed");
    expect_sorts(std::vector<int>(3000, 9), "all equal");
    std::vector<int> organ;
    for (int i = 0; i < 1500; ++i) organ.push_back(i);
    for (int i = 1500; i > 0; --i) organ.push_back(i);
    expect_sorts(organ, "organ pipe");
}

struct Odd {
    BYTE key, a, b;
};
int __cdecl compare_odd(const void *x, const void *y) {
    return static_cast<const Odd *>(x)->key - static_cast<const Odd *>(y)->key;
}

TEST(zynQSort, MovesWholeElementsOfAnySize) {
    std::vector<Odd> v;
    for (int i = 0; i < 40; ++i) v.push_back({(BYTE)((i * 37) % 40), (BYTE)i, (BYTE)(i ^ 0x55)});
    ZYN_UTI_QSort(v.data(), (UINT)v.size(), sizeof(Odd), compare_odd);
    for (size_t i = 0; i < v.size(); ++i) {
        EXPECT_EQ(v[i].key, i);
        EXPECT_EQ(v[i].b, v[i].a ^ 0x55) << "element torn apart";
        EXPECT_EQ((v[i].a * 37) % 40, v[i].key);
    }
}

int __cdecl always_after(const void *, const void *) { return 1; }
int __cdecl always_before(const void *, const void *) { return -1; }

TEST(zynQSort, SurvivesInconsistentComparisons) {
    // The order is meaningless, but the sort must end inside the array with
    // the same elements.
    for (ZYN_COMPARE cmp : {always_after, always_before}) {
        std::vector<int> v(500);
        for (size_t i = 0; i < v.size(); ++i) v[i] = (int)i;
        ZYN_UTI_QSort(v.data(), (UINT)v.size(), sizeof(int), cmp);
        std::sort(v.begin(), v.end());
        for (size_t i = 0; i < v.size(); ++i) EXPECT_EQ(v[i], (int)i);
    }
}

std::string date(const char *pattern, UINT y, UINT m, UINT d) {
    std::vector<char> out(ZYN_DATE_MAX, '\x7f');  // exactly the promised room
    zyn_format_date(out.data(), pattern, y, m, d);
    return out.data();
}

TEST(zynFormatDate, FieldsInThePatternsOrder) {
    EXPECT_EQ(date("dd.MM.yyyy", 97, 3, 4), "04.03.1997");
    EXPECT_EQ(date("MM/dd/yy", 97, 3, 4), "03/04/97");
    EXPECT_EQ(date("M/d/yy", 5, 3, 4), "3/4/05");
    EXPECT_EQ(date("yyyy-MM-dd", 2024, 12, 31), "2024-12-31");
    EXPECT_EQ(date("yy. M. d", 1997, 11, 9), "1997. 11. 9");  // yy keeps the number
    EXPECT_EQ(date("d/M/yyyy", 1899, 1, 1), "1/1/3799");      // below 1900 gets 1900
}

TEST(zynFormatDate, OtherPatternsGiveYearDayMonth) {
    for (const char *bad : {"", "dd/MM", "MMM dd yy", "dd/MM/yy/", "d/d/yy", "ddMMyy", "y/M/d", "dd/MM/yyy",
                            "dd-----MM-yy"})
        EXPECT_EQ(date(bad, 97, 3, 4), "97/04/03") << bad;
    EXPECT_EQ(date(nullptr, 97, 3, 4), "97/04/03");
}

TEST(zynFormatDate, LongestOutputsFitTheBuffer) {
    const UINT big = 0xFFFFFFFFu;
    EXPECT_EQ(date("yyyy----MM----dd", big, big, big).size(), 38u);
    EXPECT_EQ(date("bad", big, big, big), "4294967295/-01/4294967295");
    // The export reads no profile natively: the default pattern.
    char out[ZYN_DATE_MAX];
    ZYN_UTI_FormatDate(out, 97, 3, 4);
    EXPECT_STREQ(out, "03/04/97");
}

TEST(zynScroll, StepsFromTheRange) {
    int line, page;
    zyn_scroll_steps(0, 16384, &line, &page);
    EXPECT_EQ(line, 163);
    EXPECT_EQ(page, 3276);
    zyn_scroll_steps(0, 10, &line, &page);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(page, 2);
    zyn_scroll_steps(5, 5, &line, &page);
    EXPECT_EQ(line, 1);
    EXPECT_EQ(page, 2);
}

TEST(zynScroll, CodesClampAndSnap) {
    // The full proportional range snaps near its ends.
    EXPECT_EQ(zyn_scroll_position(0, 16384, 200, ZYN_SB_LINEUP, 0, FALSE, 163, 3276), 0);
    EXPECT_EQ(zyn_scroll_position(0, 16384, 16200, ZYN_SB_LINEDOWN, 0, FALSE, 163, 3276), 16384);
    EXPECT_EQ(zyn_scroll_position(0, 16384, 0, ZYN_SB_LINEDOWN, 0, FALSE, 163, 3276), 163);
    EXPECT_EQ(zyn_scroll_position(0, 16384, 5000, ZYN_SB_THUMBPOSITION, 100, FALSE, 163, 3276), 0);
    // Other ranges do not.
    EXPECT_EQ(zyn_scroll_position(0, 16383, 200, ZYN_SB_LINEUP, 0, FALSE, 163, 3276), 37);
    EXPECT_EQ(zyn_scroll_position(10, 100, 50, ZYN_SB_PAGEUP, 0, FALSE, 1, 18), 32);
    EXPECT_EQ(zyn_scroll_position(10, 100, 50, ZYN_SB_PAGEDOWN, 0, FALSE, 1, 18), 68);
    EXPECT_EQ(zyn_scroll_position(10, 100, 95, ZYN_SB_PAGEDOWN, 0, FALSE, 1, 18), 100);
    EXPECT_EQ(zyn_scroll_position(10, 100, 12, ZYN_SB_PAGEUP, 0, FALSE, 1, 18), 10);
    EXPECT_EQ(zyn_scroll_position(10, 100, 50, ZYN_SB_THUMBPOSITION, 500, FALSE, 1, 18), 100);
}

TEST(zynScroll, NoChangeAndUnknownCodesGiveMinusOne) {
    EXPECT_EQ(zyn_scroll_position(0, 100, 0, ZYN_SB_LINEUP, 0, FALSE, 1, 20), -1);
    EXPECT_EQ(zyn_scroll_position(0, 100, 100, ZYN_SB_PAGEDOWN, 0, FALSE, 1, 20), -1);
    EXPECT_EQ(zyn_scroll_position(0, 100, 40, ZYN_SB_THUMBPOSITION, 40, FALSE, 1, 20), -1);
    EXPECT_EQ(zyn_scroll_position(0, 100, 40, 6, 0, FALSE, 1, 20), -1);
    EXPECT_EQ(zyn_scroll_position(0, 100, 40, 8, 0, FALSE, 1, 20), -1);
    // Tracking counts only when asked for.
    EXPECT_EQ(zyn_scroll_position(0, 100, 40, ZYN_SB_THUMBTRACK, 70, FALSE, 1, 20), -1);
    EXPECT_EQ(zyn_scroll_position(0, 100, 40, ZYN_SB_THUMBTRACK, 70, TRUE, 1, 20), 70);
    // Steps that would overflow an int still clamp.
    EXPECT_EQ(zyn_scroll_position(0, 0x7FFFFFFF, 0x7FFFFFF0, ZYN_SB_PAGEDOWN, 0, FALSE, 1, 0x7FFFFFFF),
              0x7FFFFFFF);
}

TEST(zynSkipPath, ReturnsTheNamePart) {
    char full[] = "C:\\images\\old\\cat.bmp";
    EXPECT_STREQ(ZYN_UTI_SkipPath(full), "cat.bmp");
    char bare[] = "cat.bmp";
    EXPECT_EQ(ZYN_UTI_SkipPath(bare), bare);
    char dir[] = "C:\\images\\";
    EXPECT_EQ(ZYN_UTI_SkipPath(dir), dir + 10);
    EXPECT_EQ(ZYN_UTI_SkipPath(nullptr), nullptr);
}

class zynBlocks : public ZynTest {};

TEST_F(zynBlocks, CopyHandleDuplicatesSizeAndContents) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 33);
    BYTE *p = static_cast<BYTE *>(GlobalLock(h));
    for (int i = 0; i < 33; ++i) p[i] = (BYTE)(i * 3);
    GlobalUnlock(h);
    HGLOBAL c = ZYN_UTI_CopyHandle(h);
    ASSERT_NE(c, nullptr);
    EXPECT_NE(c, h);
    EXPECT_EQ(block_bytes(c), block_bytes(h));
    EXPECT_EQ(lock_count(h), 0u);
    EXPECT_EQ(lock_count(c), 0u);
    GlobalFree(c);
    GlobalFree(h);
    EXPECT_EQ(ZYN_UTI_CopyHandle(nullptr), nullptr);
}

TEST(zynDeleteFile, DeletesAndRefusesWhatItCannotPass) {
    char path[] = "/tmp/zyndelXXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_TRUE(ZYN_UTI_DeleteFile(path));
    EXPECT_NE(access(path, F_OK), 0);
    EXPECT_FALSE(ZYN_UTI_DeleteFile(path));  // gone already
    EXPECT_FALSE(ZYN_UTI_DeleteFile(nullptr));

    // 128 characters do not fit the path buffer: refused, file kept.
    std::string dir = "/tmp/" + std::string(100, 'd');
    std::string longPath = dir + "/" + std::string(30, 'f');
    ASSERT_GE(longPath.size(), 128u);
    mkdir(dir.c_str(), 0700);
    FILE *f = fopen(longPath.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fclose(f);
    EXPECT_FALSE(ZYN_UTI_DeleteFile(longPath.c_str()));
    EXPECT_EQ(access(longPath.c_str(), F_OK), 0);
    remove(longPath.c_str());
    rmdir(dir.c_str());
}

}  // namespace
