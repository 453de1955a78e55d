/* Shared by the TIFF tests: the fixture, and a hand-built little-endian
   TIFF with exactly the tags a case needs (so a test can leave a tag out,
   lie about a strip or claim a giant image). */
#ifndef TIFF_TEST_SUPPORT_H
#define TIFF_TEST_SUPPORT_H

#include <stdint.h>

#include <algorithm>
#include <map>

#include "codec_images.h"
#include "codecs/tiff/tiff.h"

const std::string kTiffFixtures = std::string(LC_SOURCE_DIR) + "/tests/fixtures/tiff/";

struct TiffTest : CodecFixture {
    TiffTest() : CodecFixture("TIF", TiffDecode) {}
};

/* Tag values; SHORT (3) or LONG (4). */
struct TiffTag {
    uint16_t type;
    std::vector<uint32_t> values;
};
typedef std::map<uint16_t, TiffTag> TiffTags;

inline TiffTag shorts(std::vector<uint32_t> v) { return {3, v}; }
inline TiffTag longs(std::vector<uint32_t> v) { return {4, v}; }

/* Header, then the strip data, then the directory.  A StripOffsets tag
   left empty becomes one strip at the data; StripByteCounts left empty
   becomes its length. */
inline Bytes build_tiff(TiffTags tags, const Bytes &data) {
    Bytes f = {'I', 'I', 42, 0, 0, 0, 0, 0};
    auto put16 = [&](Bytes &b, uint32_t v) { b.push_back((BYTE)v), b.push_back((BYTE)(v >> 8)); };
    auto put32 = [&](Bytes &b, uint32_t v) { put16(b, v & 0xFFFF), put16(b, v >> 16); };
    uint32_t dataAt = (uint32_t)f.size();
    f.insert(f.end(), data.begin(), data.end());
    if (f.size() & 1) f.push_back(0);
    if (tags.count(273) && tags[273].values.empty()) tags[273].values = {dataAt};
    if (tags.count(279) && tags[279].values.empty()) tags[279].values = {(uint32_t)data.size()};
    // Values too long for the entry go before the directory.
    std::map<uint16_t, uint32_t> outside;
    for (auto &t : tags) {
        size_t bytes = t.second.values.size() * (t.second.type == 3 ? 2 : 4);
        if (bytes <= 4) continue;
        outside[t.first] = (uint32_t)f.size();
        for (uint32_t v : t.second.values) t.second.type == 3 ? put16(f, v) : put32(f, v);
    }
    uint32_t ifd = (uint32_t)f.size();
    f[4] = (BYTE)ifd, f[5] = (BYTE)(ifd >> 8), f[6] = (BYTE)(ifd >> 16), f[7] = (BYTE)(ifd >> 24);
    put16(f, (uint32_t)tags.size());
    for (auto &t : tags) {
        put16(f, t.first);
        put16(f, t.second.type);
        put32(f, (uint32_t)t.second.values.size());
        if (outside.count(t.first)) {
            put32(f, outside[t.first]);
        } else {
            Bytes v;
            for (uint32_t x : t.second.values) t.second.type == 3 ? put16(v, x) : put32(v, x);
            v.resize(4, 0);
            f.insert(f.end(), v.begin(), v.end());
        }
    }
    put32(f, 0);
    return f;
}

/* The tags of a plain single-strip image. */
inline TiffTags basic_tags(uint32_t w, uint32_t h, uint32_t bits, uint32_t samples, int photometric) {
    TiffTags t;
    t[256] = longs({w});
    t[257] = longs({h});
    std::vector<uint32_t> b(samples, bits);
    t[258] = shorts(b);
    t[259] = shorts({1});
    if (photometric >= 0) t[262] = shorts({(uint32_t)photometric});
    t[273] = longs({});
    t[277] = shorts({samples});
    t[278] = longs({h});
    t[279] = longs({});
    return t;
}

#endif
