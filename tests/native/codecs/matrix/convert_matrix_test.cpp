/* lumaconv across the catalogue: each writable format at each depth (gray
   and colour, compressed where offered) its save capabilities allow, read
   back to the same pixels; then each readable format's file into each
   writable format. */
#include <algorithm>
#include <map>
#include <sstream>

#include "codec_images.h"
#include "core/catalogue.h"

namespace {

const int kDepths[LC_DEPTH_SLOTS] = {1, 4, 8, 16, 24, 32};

/* One line of `lumaconv formats`. */
struct Format {
    std::string ext;
    bool load = false, save = false;
    int caps[LC_DEPTH_SLOTS] = {};
};

/* Formats whose files do not keep the pixels: lossy coding, or a fixed
   set of sizes. */
bool lossy(const std::string &ext) { return ext == "JPG" || ext == "PIC" || ext == "KQP"; }
bool resized(const std::string &ext) { return ext == "ICO"; }
/* Raw pixel formats read back only with their dimensions given. */
bool headerless(const std::string &ext) { return ext == "GEN" || ext == "HEX"; }

struct ConvertMatrix : ScratchTest {
    int run(const std::string &args) { return run_program(LUMACONV_PATH, args, dir); }
    std::string err() { return read_file(dir + "/err.txt"); }
    std::vector<Format> formats() {
        EXPECT_EQ(run("formats"), 0);
        std::vector<Format> all;
        std::istringstream lines(read_file(dir + "/out.txt"));
        std::string line;
        while (std::getline(lines, line)) {
            std::istringstream fields(line);
            std::string index, load, save, caps;
            Format f;
            std::getline(fields, index, '\t');
            std::getline(fields, f.ext, '\t');
            std::getline(fields, load, '\t');
            std::getline(fields, save, '\t');
            std::getline(fields, caps, '\t');
            f.load = load == "yes";
            f.save = save == "yes";
            sscanf(caps.c_str(), "%d/%d/%d/%d/%d/%d", &f.caps[0], &f.caps[1], &f.caps[2], &f.caps[3], &f.caps[4],
                   &f.caps[5]);
            if (f.ext != "*") all.push_back(f);
        }
        return all;
    }
    /* The picture of a file as lumaconv makes it a 24-bit BMP. */
    Pixels as_rgb(const std::string &file) {
        std::string bmp = file + ".rgb.bmp";
        EXPECT_EQ(run("convert " + file + " " + bmp + " --depth 24 --color"), 0) << file << ": " << err();
        HGLOBAL dib = load_as("BMP", bmp);
        Pixels p = dib ? pixels_of(dib) : Pixels();
        if (dib) GlobalFree(dib);
        return p;
    }
    /* Source files, 37 x 23, smooth enough for the lossy formats: black and
       white at 1 bit; a colour table or a gray ramp at 4 and 8 bits; a
       colour or gray picture at 24 and 32 bits.  The 16-bit level is a
       24-bit image written at 16 bits, so its source is the 24-bit one. */
    std::string source(int bits, bool gray) {
        if (bits == 16) bits = 24;
        std::string path = dir + "/src" + std::to_string(bits) + (gray ? "g" : "c") + ".bmp";
        if (access(path.c_str(), F_OK) == 0) return path;
        HGLOBAL dib;
        if (bits == 1) {
            dib = make_dib(37, 23, 1, 2, [](int x, int y) { return (unsigned)(x / 3 + y) % 2; }, true);
        } else if (bits == 4) {
            dib = make_dib(37, 23, 4, 16, [](int x, int y) { return (unsigned)(x / 3 + y) % 16; }, gray);
        } else if (bits == 8) {
            auto index = [](int x, int y) { return (unsigned)(x * 3 + y * 5) & 255; };
            dib = gray ? make_dib(37, 23, 8, 256, index, true)
                       : make_dib(37, 23, 8, 256, index, [](unsigned i) { return i << 16 | (255 - i) << 8 | (128 + i / 2); });
        } else {
            dib = make_dib(37, 23, bits, 0, [=](int x, int y) {
                unsigned v = (unsigned)(x * 6 + y * 3) & 255;
                return gray ? v * 0x010101u : v << 16 | (unsigned)(y * 11) << 8 | (unsigned)(255 - x * 5);
            });
        }
        EXPECT_NE(dib, nullptr);
        if (!dib) return path;
        EXPECT_TRUE(save_as("BMP", path, dib, !gray, 0, bits)) << last_box_text();
        GlobalFree(dib);
        return path;
    }
};

/* The program's gray value of a colour (white gives 253). */
BYTE gray_value(int r, int g, int b) {
    return (BYTE)(r / 4 + r / 16 + (r >> 7) + g / 2 + g / 16 + g / 32 + b / 8 - r / 64 - b / 64);
}

/* What a file written at `bits` in gray or colour should read back as:
   true-colour pictures made gray take the gray value of each pixel. */
Bytes expected_rgb(const Pixels &source, int bits, bool gray) {
    Bytes want = source.rgb;
    if (gray && bits >= 16)
        for (size_t i = 0; i + 2 < want.size(); i += 3)
            want[i] = want[i + 1] = want[i + 2] = gray_value(want[i], want[i + 1], want[i + 2]);
    return want;
}

int largest_difference(const Bytes &a, const Bytes &b) {
    if (a.size() != b.size()) return 256;
    int most = 0;
    for (size_t i = 0; i < a.size(); i++) most = std::max(most, abs((int)a[i] - (int)b[i]));
    return most;
}

double mean_difference(const Bytes &a, const Bytes &b) {
    if (a.size() != b.size() || a.empty()) return 255;
    double sum = 0;
    for (size_t i = 0; i < a.size(); i++) sum += abs((int)a[i] - (int)b[i]);
    return sum / (double)a.size();
}

/* Writes the source at one depth and mode and reads it back. */
void check_written(ConvertMatrix &t, const Format &f, int bits, bool gray, bool compress) {
    std::string src = t.source(bits, gray);
    std::string out = t.dir + "/out" + std::to_string(bits) + (gray ? "g" : "c") + (compress ? "z." : ".") + f.ext;
    std::string args = "convert " + src + " " + out + " --depth " + std::to_string(bits) + (gray ? " --gray" : " --color") +
                       (compress ? " --compress" : "");
    ASSERT_EQ(t.run(args), 0) << args << ": " << t.err();
    if (!f.load || headerless(f.ext)) return;
    Pixels source = t.as_rgb(src), got = t.as_rgb(out);
    if (resized(f.ext)) {
        EXPECT_EQ(got.width, got.height) << out;
        EXPECT_EQ(got.width, 32) << out; /* 37 pixels wide: the 32 x 32 type */
        return;
    }
    ASSERT_EQ(got.width, source.width) << out;
    ASSERT_EQ(got.height, source.height) << out;
    Bytes want = expected_rgb(source, bits, gray);
    if (lossy(f.ext)) {
        EXPECT_LT(mean_difference(got.rgb, want), 8.0) << out;
    } else if (bits == 16) {
        EXPECT_LE(largest_difference(got.rgb, want), 7) << out << ": 5 bits a channel";
    } else {
        EXPECT_TRUE(got.rgb == want) << out << " differs from " << src;
    }
}

TEST_F(ConvertMatrix, EveryWritableFormatAtEveryDepthItsCapabilitiesAllow) {
    int written = 0;
    for (const Format &f : formats()) {
        if (!f.save) continue;
        for (int slot = 0; slot < LC_DEPTH_SLOTS; slot++) {
            int caps = f.caps[slot];
            for (bool gray : {false, true}) {
                if (!(caps & (gray ? SC_GRAY : SC_COLOR))) continue;
                SCOPED_TRACE(f.ext + " " + std::to_string(kDepths[slot]) + (gray ? " gray" : " colour"));
                check_written(*this, f, kDepths[slot], gray, false);
                if (caps & SC_COMPRESS_OPTION) check_written(*this, f, kDepths[slot], gray, true);
                written++;
            }
        }
    }
    EXPECT_GE(written, 40);
}

TEST_F(ConvertMatrix, EveryReadableFormatConvertsIntoEveryWritableOne) {
    std::vector<Format> all = formats();
    /* One file of each readable format, written here from the 24-bit
       picture, or at the deepest depth the format takes. */
    std::map<std::string, std::string> inputs;
    for (const Format &f : all) {
        if (!f.load || !f.save || headerless(f.ext)) continue;
        int slot = LC_DEPTH_SLOTS - 1;
        while (slot > 0 && !(f.caps[slot] & SC_COLOR)) slot--;
        std::string in = dir + "/in." + f.ext;
        ASSERT_EQ(run("convert " + source(kDepths[slot], false) + " " + in + " --depth " + std::to_string(kDepths[slot])),
                  0)
            << f.ext << ": " << err();
        inputs[f.ext] = in;
    }
    /* The read-only entries, from other programs' files under their own
       extension. */
    const char *readOnly[][3] = {{"PCT", "pict", "gm_direct.pct"}, {"LBM", "iff", "nb_ham6_rle.iff"},
                                 {"PCC", "pcx", "im_8bit.pcx"}};
    for (const auto &r : readOnly) {
        std::string in = dir + "/in." + r[0];
        std::string bytes = read_file(fixture_path(r[1], r[2]));
        ASSERT_FALSE(bytes.empty()) << r[2];
        FILE *f = fopen(in.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
        inputs[r[0]] = in;
    }
    for (const auto &in : inputs) {
        for (const Format &to : all) {
            if (!to.save) continue;
            SCOPED_TRACE(in.first + " to " + to.ext);
            std::string out = dir + "/x_" + in.first + "." + to.ext;
            EXPECT_EQ(run("convert " + in.second + " " + out), 0) << err();
            EXPECT_GT(read_file(out).size(), 0u);
        }
    }
}

} // namespace
