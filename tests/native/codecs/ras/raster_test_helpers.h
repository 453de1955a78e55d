/* Helpers shared by the Sun raster, SGI, PPM and WPG tests: the codec
   fixture with a save-and-load round trip, the reference reader for the
   PNM files the independent decoders wrote, and running those decoders on
   our own files. */
#ifndef RASTER_TEST_HELPERS_H
#define RASTER_TEST_HELPERS_H

#include <dirent.h>

#include <algorithm>
#include <string>
#include <vector>

#include "codec_images.h"

/* A PNM file as the independent program decoded it: P4, P5 or P6, any
   maximum value, samples as they are (top-down, 1 or 3 per pixel). */
struct Pnm {
    int width = 0, height = 0, channels = 0;
    unsigned maxval = 0;
    std::vector<unsigned> samples;
};

inline bool parse_pnm(const std::string &text, Pnm *out) {
    size_t pos = 0;
    auto token = [&]() {
        std::string t;
        while (pos < text.size()) {
            char c = text[pos];
            if (c == '#' && t.empty()) {
                while (pos < text.size() && text[pos] != '\n') pos++;
            } else if (isspace((unsigned char)c)) {
                if (!t.empty()) break;
                pos++;
            } else {
                t += c;
                pos++;
            }
        }
        return t;
    };
    std::string magic = token();
    if (magic != "P4" && magic != "P5" && magic != "P6") return false;
    out->width = atoi(token().c_str());
    out->height = atoi(token().c_str());
    out->maxval = magic == "P4" ? 1 : (unsigned)atoi(token().c_str());
    out->channels = magic == "P6" ? 3 : 1;
    pos++;
    out->samples.clear();
    if (magic == "P4") {
        size_t rowBytes = (out->width + 7) / 8;
        if (text.size() < pos + rowBytes * out->height) return false;
        for (int y = 0; y < out->height; y++)
            for (int x = 0; x < out->width; x++)  // 1 is black
                out->samples.push_back(((unsigned char)text[pos + y * rowBytes + x / 8] >> (7 - x % 8)) & 1 ? 0 : 1);
        return true;
    }
    size_t bytes = out->maxval > 255 ? 2 : 1;
    size_t n = (size_t)out->width * out->height * out->channels;
    if (text.size() < pos + n * bytes) return false;
    for (size_t i = 0; i < n; i++) {
        const unsigned char *p = (const unsigned char *)text.data() + pos + i * bytes;
        out->samples.push_back(bytes == 2 ? (unsigned)(p[0] << 8 | p[1]) : p[0]);
    }
    return true;
}

/* The samples as top-down RGB, each scaled to 0..255 by scale(v, maxval). */
template <class F>
inline Bytes pnm_rgb(const Pnm &p, F scale) {
    Bytes rgb;
    for (size_t i = 0; i < p.samples.size(); i += p.channels)
        for (int c = 0; c < 3; c++)
            rgb.push_back((unsigned char)scale(p.samples[i + (p.channels == 3 ? c : 0)], p.maxval));
    return rgb;
}

inline unsigned scale_down(unsigned v, unsigned maxval) { return v * 255 / maxval; }
inline unsigned scale_round(unsigned v, unsigned maxval) { return (v * 255 + maxval / 2) / maxval; }

inline std::vector<std::string> files_ending(const std::string &dir, const std::string &ext) {
    std::vector<std::string> names;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d)) {
            std::string n = e->d_name;
            if (n.size() > ext.size() && n.compare(n.size() - ext.size(), ext.size(), ext) == 0) names.push_back(n);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

/* Runs an independent decoder ("rasttopnm", "convert", ...) on a file and
   reads what it printed as PNM; false when it printed nothing usable. */
inline bool decode_with(const std::string &command, Pnm *out) {
    return parse_pnm(run_output(command + " 2>/dev/null"), out);
}

/* An independent reader: the program to look for and its command, %s
   standing for the file; it prints PNM. */
struct PnmReader {
    const char *program, *command;
};

/* Runs an installed reader on path; false when its program is missing.
   A reader that prints nothing usable fails the test. */
inline bool read_with(const PnmReader &reader, const std::string &path, Pnm *out) {
    if (!have_program(reader.program)) return false;
    char cmd[512];
    snprintf(cmd, sizeof cmd, reader.command, path.c_str());
    EXPECT_TRUE(decode_with(cmd, out)) << cmd;
    return true;
}

/* The codec fixture, plus a save and load back through the pipeline. */
struct RasterCodecTest : CodecFixture {
    RasterCodecTest(const char *ext, CodecDecodeProc decoder) : CodecFixture(ext, decoder) {}
    /* Decodes a file that must load, as its pixels. */
    Pixels decode_ok(const Bytes &file) {
        HGLOBAL dib = decode(file);
        EXPECT_NE(dib, nullptr) << last_box_text();
        Pixels p = dib ? pixels_of(dib) : Pixels();
        if (dib) GlobalFree(dib);
        return p;
    }
    /* Saves through the pipeline and loads the file back. */
    Pixels round_trip(HGLOBAL dib, int color, int bpp, const std::string &name, int compressed = 0) {
        std::string path = dir + "/" + name;
        EXPECT_EQ(save_as(extension, path, dib, color, compressed, bpp), 1) << last_box_text();
        HGLOBAL back = load_as(extension, path);
        EXPECT_NE(back, nullptr) << last_box_text();
        Pixels p = back ? pixels_of(back) : Pixels();
        if (back) GlobalFree(back);
        return p;
    }
};

inline void put_u32be(Bytes &b, unsigned v) {
    b.insert(b.end(), {(unsigned char)(v >> 24), (unsigned char)(v >> 16), (unsigned char)(v >> 8), (unsigned char)v});
}
inline void put_u16be(Bytes &b, unsigned v) { b.insert(b.end(), {(unsigned char)(v >> 8), (unsigned char)v}); }
inline void put_u16le(Bytes &b, unsigned v) { b.insert(b.end(), {(unsigned char)v, (unsigned char)(v >> 8)}); }

/* A pattern with runs of every length and single pixels, for 24 bits. */
inline unsigned pattern_rgb(int x, int y) {
    if (y % 3 == 0) return 0x102030u * (unsigned)(x / 5 % 4);
    return (unsigned)((x * 37 + y * 11) & 255) << 16 | (unsigned)((x * 91) & 255) << 8 | (unsigned)((y * 53 + x) & 255);
}

#endif
