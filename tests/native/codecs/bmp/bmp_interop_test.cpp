// Interoperability: fixtures written by ImageMagick, GraphicsMagick and
// netpbm load to the pixels their independent decoder reports, and the
// files our writer produces decode in those programs to our pixels.
#include <dirent.h>

#include <algorithm>

#include "bmp_test_support.h"

namespace {

const std::string kFixtures = std::string(LC_SOURCE_DIR) + "/tests/fixtures/bmp/";

std::vector<std::string> fixture_names() {
    std::vector<std::string> names;
    if (DIR *d = opendir(kFixtures.c_str())) {
        while (struct dirent *e = readdir(d)) {
            std::string n = e->d_name;
            if (n.size() > 4 && (n.compare(n.size() - 4, 4, ".bmp") == 0 || n.compare(n.size() - 4, 4, ".dib") == 0))
                names.push_back(n);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(BmpTest, FixturesLoadToTheIndependentDecodersPixels) {
    std::vector<std::string> names = fixture_names();
    ASSERT_GE(names.size(), 15u);
    for (const std::string &name : names) {
        SCOPED_TRACE(name);
        Rgb expected = read_ppm(kFixtures + name.substr(0, name.size() - 4) + ".ppm");
        ASSERT_GT(expected.width, 0);
        HGLOBAL dib = load_as(name.substr(name.size() - 3) == "dib" ? "DIB" : "BMP", kFixtures + name);
        ASSERT_NE(dib, nullptr) << last_text();
        EXPECT_TRUE(rgb_of(dib) == expected);
        GlobalFree(dib);
    }
    EXPECT_TRUE(boxes().empty()) << last_text();
}

// How a peer decodes a file to a binary PPM (maxval 255).
std::string peer_command(const std::string &peer, const std::string &in, const std::string &out) {
    if (peer == "netpbm") return "bmptopnm '" + in + "' 2>/dev/null | ppmtoppm > '" + out + "' 2>/dev/null";
    if (peer == "imagemagick") return "convert '" + in + "' -depth 8 ppm:'" + out + "' 2>/dev/null";
    return "gm convert '" + in + "' -depth 8 ppm:'" + out + "' 2>/dev/null";
}

TEST_F(BmpTest, OurFilesDecodeInOtherPrograms) {
    if (!have_program("bmptopnm") || !have_program("convert") || !have_program("gm"))
        GTEST_SKIP() << "peer programs missing (tools/setup.sh installs them)";
    struct Case {
        const char *ext;
        WORD bits;
        int compressed;
        LONG width;
        const char *peer;
    } cases[] = {
        {"BMP", 1, 0, 13, "netpbm"},      {"BMP", 4, 0, 13, "netpbm"},     {"BMP", 8, 0, 13, "netpbm"},
        {"BMP", 24, 0, 13, "netpbm"},     {"BMP", 32, 0, 13, "imagemagick"}, {"BMP", 8, 0, 13, "gm"},
        {"RLE", 4, 1, 13, "netpbm"},      {"RLE", 4, 1, 13, "imagemagick"},
        // RLE8 codes each row's padding too, which netpbm refuses unless
        // the width fills whole 4-byte rows.
        {"RLE", 8, 1, 16, "netpbm"},      {"RLE", 8, 1, 13, "imagemagick"}, {"DIB", 8, 1, 13, "gm"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.ext) + " " + std::to_string(c.bits) + " via " + c.peer);
        HGLOBAL dib = test_dib(c.width, 9, c.bits, 77u + c.bits);
        std::string file = path("ours.bmp"), ppm = path("peer.ppm");
        ASSERT_TRUE(save_as(c.ext, file, dib, c.compressed, c.bits));
        ASSERT_EQ(run(peer_command(c.peer, file, ppm)), 0);
        EXPECT_TRUE(read_ppm(ppm) == rgb_of(dib));
        GlobalFree(dib);
    }
}

}  // namespace
