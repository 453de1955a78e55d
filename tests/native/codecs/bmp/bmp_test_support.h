// Helpers of the BMP-family tests: files put together byte by byte, DIBs
// with known pixels, loads and saves through the catalogue entry by name,
// and every image compared as top-down RGB.
#ifndef BMP_TEST_SUPPORT_H
#define BMP_TEST_SUPPORT_H

#include <stdint.h>

#include <string>
#include <vector>

#include "engine_test_support.h"

typedef std::vector<BYTE> Bytes;

struct Rgb {
    int width = 0, height = 0;
    Bytes pixels;  // red, green, blue; top row first
    bool operator==(const Rgb &o) const { return width == o.width && height == o.height && pixels == o.pixels; }
};

// Little-endian building of files.
void put16(Bytes &b, unsigned v);
void put32(Bytes &b, uint32_t v);
Bytes info_header(int32_t width, int32_t height, unsigned bits, uint32_t compression, uint32_t sizeImage,
                  uint32_t colors);
// "BM", sizes and the offset filled from the parts.
Bytes bmp_file(const Bytes &info, const Bytes &table, const Bytes &pixels);
Bytes gray_table(unsigned entries);

std::string bytes_to_string(const Bytes &b);
Bytes file_bytes(const std::string &path);

int format_index(const char *extension);
// Loads through the pipeline with that entry current; null on failure.
HGLOBAL load_as(const char *extension, const std::string &path);
int save_as(const char *extension, const std::string &path, HGLOBAL dib, int compressed, int bpp);

// A DIB with a varied table and pixels with runs in them.
HGLOBAL test_dib(LONG width, LONG height, WORD bits, unsigned seed);
Rgb rgb_of(HGLOBAL dib);
Rgb read_ppm(const std::string &path);
BITMAPINFOHEADER header_of_dib(HGLOBAL dib);

// Runs a shell command; its exit status.
int run(const std::string &command);
bool have_program(const char *name);

class BmpTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        dir_ = make_scratch_dir();
    }
    void TearDown() override {
        remove_tree(dir_);
        CoreTest::TearDown();
    }
    std::string path(const std::string &name) const { return dir_ + "/" + name; }
    std::string dir_;
};

#endif
