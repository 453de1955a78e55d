// lumaconv --scale, run as a user would: a small BMP through the resamplers.
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine_test_support.h"

namespace {

// A bottom-up 24-bit BMP whose pixel (x, row) is (x * 10, row * 20, 7).
std::string bmp24(int width, int height) {
    int stride = (width * 3 + 3) & ~3;
    int bits = stride * height;
    std::string f(54 + bits, '\0');
    auto put32 = [&f](size_t at, uint32_t v) {
        for (int k = 0; k < 4; k++) f[at + k] = (char)(v >> (8 * k));
    };
    f[0] = 'B', f[1] = 'M';
    put32(2, (uint32_t)f.size());
    put32(10, 54);
    put32(14, 40);
    put32(18, (uint32_t)width);
    put32(22, (uint32_t)height);
    f[26] = 1, f[28] = 24;
    put32(34, (uint32_t)bits);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            size_t p = 54 + (size_t)y * stride + 3 * x;
            f[p] = 7, f[p + 1] = (char)(y * 20), f[p + 2] = (char)(x * 10);
        }
    return f;
}

struct Bmp {
    int width = 0, height = 0;
    std::string data;
    int stride() const { return (width * 3 + 3) & ~3; }
    unsigned char at(int x, int row, int channel) const {
        return (unsigned char)data[54 + (size_t)row * stride() + 3 * x + channel];
    }
};

Bmp read_bmp(const std::string &bytes) {
    Bmp b;
    if (bytes.size() < 54) return b;
    auto get32 = [&bytes](size_t at) {
        uint32_t v = 0;
        for (int k = 3; k >= 0; k--) v = (v << 8) | (unsigned char)bytes[at + k];
        return v;
    };
    b.width = (int)get32(18);
    b.height = (int)get32(22);
    b.data = bytes;
    return b;
}

class LumaconvScale : public ::testing::Test {
protected:
    void SetUp() override {
        dir = make_scratch_dir();
        write_file(dir + "/in.bmp", bmp24(5, 3));
    }
    void TearDown() override { remove_tree(dir); }
    int run(const std::string &args) {
        std::string command = std::string(LUMACONV_PATH) + " " + args + " >/dev/null 2>" + dir + "/err.txt </dev/null";
        int status = system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string dir;
};

TEST_F(LumaconvScale, NearestNeighbourToASizeOrPercentage) {
    ASSERT_EQ(run("convert " + dir + "/in.bmp " + dir + "/out.bmp --scale 10x2"), 0);
    Bmp b = read_bmp(read_file(dir + "/out.bmp"));
    ASSERT_EQ(b.width, 10);
    ASSERT_EQ(b.height, 2);
    for (int row = 0; row < 2; row++)
        for (int x = 0; x < 10; x++) {
            EXPECT_EQ(b.at(x, row, 2), (x / 2) * 10);
            EXPECT_EQ(b.at(x, row, 1), (row * 3 / 2) * 20);
        }
    ASSERT_EQ(run("convert " + dir + "/in.bmp " + dir + "/out.bmp --scale 200%"), 0);
    b = read_bmp(read_file(dir + "/out.bmp"));
    EXPECT_EQ(b.width, 10);
    EXPECT_EQ(b.height, 6);
}

TEST_F(LumaconvScale, AverageHalfMeansEachTwoByTwoBlock) {
    ASSERT_EQ(run("convert " + dir + "/in.bmp " + dir + "/out.bmp --scale average-half"), 0);
    Bmp b = read_bmp(read_file(dir + "/out.bmp"));
    ASSERT_EQ(b.width, 2);
    ASSERT_EQ(b.height, 1);
    EXPECT_EQ(b.at(1, 0, 2), (20 + 30 + 20 + 30) / 4);
    EXPECT_EQ(b.at(1, 0, 1), (0 + 0 + 20 + 20) / 4);
    EXPECT_EQ(b.at(1, 0, 0), 7);
}

TEST_F(LumaconvScale, BadValuesAreUsageErrors) {
    for (const char *v : {"0x3", "3x", "x3", "-5%", "0%", "half", "12"})
        EXPECT_EQ(run("convert " + dir + "/in.bmp " + dir + "/out.bmp --scale " + v), 2) << v;
    // Well-formed but too small to leave a pixel: the conversion fails.
    EXPECT_EQ(run("convert " + dir + "/in.bmp " + dir + "/out.bmp --scale 1%"), 1);
}

}  // namespace
