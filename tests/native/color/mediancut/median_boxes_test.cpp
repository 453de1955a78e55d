#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "color/mediancut/median_boxes.h"

/* Records from (red, green, blue, count) in 5-bit levels, in the given order. */
struct Records {
    std::vector<ColorRecord> store;
    std::vector<ColorRecord *> order;
    Records(std::initializer_list<std::array<int, 4>> rows) {
        store.reserve(rows.size());
        for (auto &r : rows) {
            ColorRecord rec = {};
            rec.key = (DWORD)(r[0] << 10 | r[1] << 5 | r[2]);
            rec.count = (DWORD)r[3];
            store.push_back(rec);
        }
        for (auto &r : store) order.push_back(&r);
    }
    ColorBox box(DWORD start, DWORD count) {
        ColorBox b = {};
        b.start = start;
        b.count = count;
        median_box_measure(&b, order.data());
        return b;
    }
    int position(int which) const {
        for (size_t i = 0; i < order.size(); i++)
            if (order[i] == &store[which]) return (int)i;
        return -1;
    }
};

TEST(MedianBoxes, AxisTiesGoToBlueThenGreen) {
    Records all({{0, 0, 0, 1}, {4, 4, 4, 1}});
    EXPECT_EQ(all.box(0, 2).axis, 2);
    EXPECT_EQ(all.box(0, 2).extent, 4);
    Records redGreen({{0, 0, 0, 1}, {4, 4, 1, 1}});
    EXPECT_EQ(redGreen.box(0, 2).axis, 1);
    Records redBlue({{0, 0, 0, 1}, {4, 1, 4, 1}});
    EXPECT_EQ(redBlue.box(0, 2).axis, 2);
    Records red({{0, 0, 0, 1}, {9, 1, 8, 3}});
    ColorBox b = red.box(0, 2);
    EXPECT_EQ(b.axis, 0);
    EXPECT_EQ(b.extent, 9);
    EXPECT_EQ(b.pixels, 4u);
    EXPECT_EQ(b.maxBlue, 8);
}

TEST(MedianBoxes, CountingSortReversesEqualValues) {
    Records r({{1, 5, 0, 1}, {1, 3, 0, 1}, {2, 5, 0, 1}, {2, 3, 0, 1}, {5, 9, 9, 1}});
    ColorBox b = r.box(0, 4);
    ASSERT_EQ(b.axis, 1);
    median_box_sort(&b, r.order.data());
    /* green 3: records 3 then 1; green 5: records 2 then 0; the fifth
       record lies outside the box and stays */
    EXPECT_EQ(r.position(3), 0);
    EXPECT_EQ(r.position(1), 1);
    EXPECT_EQ(r.position(2), 2);
    EXPECT_EQ(r.position(0), 3);
    EXPECT_EQ(r.position(4), 4);
}

TEST(MedianBoxes, DominatedBoxSplitsAfterItsFirstRecord) {
    Records r({{0, 0, 0, 100}, {0, 0, 5, 1}, {0, 0, 9, 1}});
    ColorBox b = r.box(0, 3), fresh;
    median_box_split(&b, &fresh, r.order.data());
    EXPECT_EQ(b.count, 1u);
    EXPECT_EQ(b.pixels, 100u);
    EXPECT_EQ(b.extent, 0);
    EXPECT_EQ(fresh.start, 1u);
    EXPECT_EQ(fresh.count, 2u);
    EXPECT_EQ(fresh.pixels, 2u);
    EXPECT_EQ(fresh.extent, 4);
}

TEST(MedianBoxes, SplitStopsWhereTheRunningSumPassesHalf) {
    Records r({{0, 0, 0, 3}, {0, 0, 1, 3}, {0, 0, 2, 3}, {0, 0, 3, 3}});
    ColorBox b = r.box(0, 4), fresh;
    /* half 6: 3, then 3 + 3 = 6 is not past it, then 9 is */
    median_box_split(&b, &fresh, r.order.data());
    EXPECT_EQ(b.count, 2u);
    EXPECT_EQ(fresh.count, 2u);
}

static ColorBox make_box(int extent, uint64_t pixels) {
    ColorBox b = {};
    b.extent = extent;
    b.pixels = pixels;
    return b;
}

static std::vector<ColorBox *> listed(const BoxList &l) {
    std::vector<ColorBox *> out;
    for (ColorBox *b = l.head; b; b = b->next) out.push_back(b);
    return out;
}

TEST(MedianBoxes, PriorityInsertionRules) {
    ColorBox a = make_box(5, 10), b = make_box(5, 20), c = make_box(3, 1), d = make_box(3, 1), e = make_box(1, 50),
             h = make_box(1, 10), f = make_box(3, 2), g = make_box(0, 9);
    BoxList l = {};
    median_list_insert(&l, &a);
    /* one box of equal extent: the new box goes first */
    median_list_insert(&l, &b);
    EXPECT_EQ(listed(l), (std::vector<ColorBox *>{&b, &a}));
    /* nothing before the last qualifies and c is smaller than the last: the end */
    median_list_insert(&l, &c);
    EXPECT_EQ(listed(l), (std::vector<ColorBox *>{&b, &a, &c}));
    /* the last box is never tested by the tie rule: d goes just before it */
    median_list_insert(&l, &d);
    EXPECT_EQ(listed(l), (std::vector<ColorBox *>{&b, &a, &d, &c}));
    median_list_insert(&l, &e);
    EXPECT_EQ(listed(l), (std::vector<ColorBox *>{&b, &a, &d, &c, &e}));
    /* h has e's extent and fewer pixels, yet goes before the last box */
    median_list_insert(&l, &h);
    EXPECT_EQ(listed(l), (std::vector<ColorBox *>{&b, &a, &d, &c, &h, &e}));
    /* equal extent with a count not larger than f's: f goes before it */
    median_list_insert(&l, &f);
    EXPECT_EQ(listed(l), (std::vector<ColorBox *>{&b, &a, &f, &d, &c, &h, &e}));
    median_list_insert(&l, &g);
    EXPECT_EQ(listed(l), (std::vector<ColorBox *>{&b, &a, &f, &d, &c, &h, &e, &g}));
    EXPECT_EQ(l.boxes, 8);
    EXPECT_EQ(median_list_pop(&l), &b);
    EXPECT_EQ(l.head, &a);
    EXPECT_EQ(l.boxes, 7);
}

TEST(MedianBoxes, OneBoxListKeepsALargerHeadFirst) {
    ColorBox a = make_box(7, 1), b = make_box(6, 100);
    BoxList l = {};
    median_list_insert(&l, &a);
    median_list_insert(&l, &b);
    EXPECT_EQ(listed(l), (std::vector<ColorBox *>{&a, &b}));
}
