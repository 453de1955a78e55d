#include <gtest/gtest.h>

#include <vector>

#include "color/flat/kernels.h"
#include "color/flat/kernels_inline.h"

/* Error rows of a given width; shares are read back per channel. */
struct Rows {
    ErrorRows rows;
    Rows(int count, int width) { EXPECT_EQ(error_rows_alloc(&rows, count, width), 1); }
    ~Rows() { error_rows_free(&rows); }
    int red(int row, int x) const { return rows.row[row][3 * x + 2]; }
    int green(int row, int x) const { return rows.row[row][3 * x + 1]; }
    int blue(int row, int x) const { return rows.row[row][3 * x]; }
    /* The red channel of every row, row by row. */
    std::vector<std::vector<int>> reds() const {
        std::vector<std::vector<int>> out(rows.count);
        for (int r = 0; r < rows.count; r++)
            for (int x = 0; x < rows.width; x++) out[r].push_back(red(r, x));
        return out;
    }
};

static void apply(int kernel, Rows &r, int position, int red, int green, int blue) {
    dither_kernels[kernel].apply(r.rows.row, position, 0, r.rows.width, 10, red, green, blue);
}

TEST(DitherKernels, TableOrderAndRows) {
    const int rows[DITHER_KERNELS] = {2, 3, 2, 3, 3, 4, 2, 2};
    for (int k = 0; k < DITHER_KERNELS; k++) EXPECT_EQ(dither_kernels[k].rows, rows[k]) << k;
    const int kernelOf[9] = {DITHER_HALFTONE, 6, 0, 1, 2, 3, 4, 5, 7};
    for (int v = 0; v < 9; v++) EXPECT_EQ(dither_kernel_of(v), kernelOf[v]) << v;
    EXPECT_EQ(dither_kernel_of(9), 0);
    EXPECT_EQ(dither_kernel_of(-1), 0);
}

TEST(DitherKernels, FloydSteinbergShiftsRoundDown) {
    Rows r(2, 3);
    apply(0, r, 1, 16, -16, -1);
    EXPECT_EQ(r.reds(), (std::vector<std::vector<int>>{{0, 0, 7}, {3, 5, 1}}));
    EXPECT_EQ(r.green(0, 2), -7);
    EXPECT_EQ(r.green(1, 0), -3);
    EXPECT_EQ(r.green(1, 1), -5);
    EXPECT_EQ(r.green(1, 2), -1);
    /* -1 >> 4 is -1: a tiny negative error spreads -1 everywhere */
    EXPECT_EQ(r.blue(0, 2), -1);
    EXPECT_EQ(r.blue(1, 0), -1);
    EXPECT_EQ(r.blue(1, 2), -1);
}

TEST(DitherKernels, SharesOutsideTheRowAreDropped) {
    Rows r(2, 3);
    apply(0, r, 0, 16, 0, 0);
    EXPECT_EQ(r.reds(), (std::vector<std::vector<int>>{{0, 7, 0}, {5, 1, 0}}));
    Rows end(2, 3);
    apply(0, end, 2, 16, 0, 0);
    EXPECT_EQ(end.reds(), (std::vector<std::vector<int>>{{0, 0, 0}, {0, 3, 5}}));
}

TEST(DitherKernels, StuckiDividesTowardZero) {
    Rows r(3, 5);
    apply(1, r, 2, -42, -1, 21);
    EXPECT_EQ(r.reds(), (std::vector<std::vector<int>>{{0, 0, 0, -8, -4}, {-2, -4, -8, -4, -2}, {-1, -2, -4, -2, -1}}));
    for (int row = 0; row < 3; row++)
        for (int x = 0; x < 5; x++) EXPECT_EQ(r.green(row, x), 0);
    EXPECT_EQ(r.blue(0, 3), 4);
    EXPECT_EQ(r.blue(0, 4), 2);
    EXPECT_EQ(r.blue(1, 0), 1);
    EXPECT_EQ(r.blue(2, 0), 0);
}

TEST(DitherKernels, Burkes) {
    Rows r(2, 5);
    apply(2, r, 2, -1, 32, 0);
    EXPECT_EQ(r.reds(), (std::vector<std::vector<int>>{{0, 0, 0, -1, -1}, {-1, -1, -1, -1, -1}}));
    EXPECT_EQ(r.green(0, 3), 8);
    EXPECT_EQ(r.green(0, 4), 4);
    EXPECT_EQ(r.green(1, 0), 2);
    EXPECT_EQ(r.green(1, 1), 4);
    EXPECT_EQ(r.green(1, 2), 8);
}

TEST(DitherKernels, Sierra) {
    Rows r(3, 5);
    apply(3, r, 2, 32, -32, 0);
    EXPECT_EQ(r.reds(), (std::vector<std::vector<int>>{{0, 0, 0, 5, 3}, {2, 4, 5, 4, 2}, {0, 2, 3, 2, 0}}));
    EXPECT_EQ(r.green(0, 3), -5);
    EXPECT_EQ(r.green(2, 2), -3);
}

TEST(DitherKernels, JarvisJudiceNinkeTruncates) {
    Rows r(3, 5);
    apply(4, r, 2, -47, 48, 0);
    /* (7 x -47) / 48 = -6 (a shift would give -7) */
    EXPECT_EQ(r.reds(), (std::vector<std::vector<int>>{{0, 0, 0, -6, -4}, {-2, -4, -6, -4, -2}, {0, -2, -4, -2, 0}}));
    EXPECT_EQ(r.green(0, 3), 7);
    EXPECT_EQ(r.green(2, 0), 1);
}

TEST(DitherKernels, StevensonArce) {
    Rows r(4, 7);
    apply(5, r, 3, 100, 0, 0);
    EXPECT_EQ(r.reds(), (std::vector<std::vector<int>>{{0, 0, 0, 0, 0, 16, 0},
                                                       {6, 0, 13, 0, 15, 0, 8},
                                                       {0, 6, 0, 13, 0, 6, 0},
                                                       {2, 0, 6, 0, 6, 0, 2}}));
}

TEST(DitherKernels, StevensonArceOnePixelWideKeepsOnlyColumnZero) {
    Rows r(4, 1);
    apply(5, r, 0, 100, -100, 1);
    EXPECT_EQ(r.reds(), (std::vector<std::vector<int>>{{0}, {0}, {13}, {0}}));
    EXPECT_EQ(r.green(2, 0), -13);
    EXPECT_EQ(r.blue(2, 0), 0);
}

TEST(DitherKernels, FastThreeNeighbour) {
    Rows r(2, 3);
    apply(6, r, 0, -3, 0, 0);
    EXPECT_EQ(r.reds(), (std::vector<std::vector<int>>{{0, -2, 0}, {-1, -1, 0}}));
}

TEST(DitherKernels, FloydSteinbergWithoutSmallErrors) {
    Rows r(2, 3);
    apply(7, r, 1, 15, -100, 16);
    for (int x = 0; x < 3; x++) {
        EXPECT_EQ(r.red(0, x), 0);
        EXPECT_EQ(r.red(1, x), 0);
        EXPECT_EQ(r.green(1, x), 0);
    }
    EXPECT_EQ(r.blue(0, 2), 7);
    EXPECT_EQ(r.blue(1, 0), 3);
}

TEST(ErrorRowsTest, SerpentineRotationClearsAndReversesPixels) {
    Rows r(3, 3);
    for (int row = 0; row < 3; row++)
        for (int i = 0; i < 9; i++) r.rows.row[row][i] = row * 100 + i;
    int *first = r.rows.row[0];
    error_rows_next_serpentine(&r.rows);
    EXPECT_EQ(r.rows.row[2], first);
    for (int i = 0; i < 9; i++) EXPECT_EQ(r.rows.row[2][i], 0);
    /* old row 1, reversed pixel by pixel with blue, green, red kept */
    EXPECT_EQ(std::vector<int>(r.rows.row[0], r.rows.row[0] + 9),
              (std::vector<int>{106, 107, 108, 103, 104, 105, 100, 101, 102}));
    EXPECT_EQ(r.rows.row[1][0], 206);
}

/* The row loops use the inlined kernels on padded rows: they must leave
   the same values inside the row as the table's kernels. */
template <int K>
static void apply_inline(Rows *r, int position, int red, int green, int blue) {
    kernel_inline<K>(r->rows.row, position, red, green, blue);
}

TEST(DitherKernels, InlinedKernelsMatchTheTable) {
    unsigned seed = 11;
    for (int k = 0; k < DITHER_KERNELS; k++)
        for (int width : {1, 2, 3, 5, 8}) {
            Rows table(4, width), inlined(4, width);
            for (int n = 0; n < 200; n++) {
                seed = seed * 1103515245u + 12345u;
                int position = (int)(seed >> 8) % width;
                int red = (int)((seed >> 12) % 511) - 255, green = (int)((seed >> 3) % 511) - 255,
                    blue = (int)((seed >> 20) % 511) - 255;
                dither_kernels[k].apply(table.rows.row, position, 0, width, 10, red, green, blue);
                DITHER_DISPATCH(k, apply_inline, &inlined, position, red, green, blue);
            }
            for (int row = 0; row < 4; row++)
                for (int i = 0; i < 3 * width; i++)
                    ASSERT_EQ(table.rows.row[row][i], inlined.rows.row[row][i]) << k << " " << width << " " << row;
        }
}
