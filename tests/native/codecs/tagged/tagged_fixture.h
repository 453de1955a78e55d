/* The fixture of the HEX and GEN tests: a scratch directory, and decoding
   from memory with the message a refusal shows. */
#ifndef TAGGED_FIXTURE_H
#define TAGGED_FIXTURE_H

#include "codec_images.h"
#include "codecs/tagged/tagged.h"

typedef int (*DecodeFn)(const BYTE *, size_t, HGLOBAL *);

struct TaggedTest : ScratchTest {
    /* Decodes text as format ext; the image, or null with the one message
       shown in *message. */
    HGLOBAL decode(const char *ext, const std::string &text, std::string *message = nullptr) {
        catalogue_set_current_load(format_index(ext));
        DecodeFn fn = strcmp(ext, "HEX") == 0 ? HexDecode : GenDecode;
        boxes().clear();
        HGLOBAL dib = (HGLOBAL)1;
        int ok = fn((const BYTE *)text.data(), text.size(), &dib);
        EXPECT_EQ(ok != 0, dib != NULL);
        EXPECT_EQ(boxes().size(), ok ? 0u : 1u);
        if (message) *message = boxes().empty() ? "" : boxes()[0].text;
        return dib;
    }
    std::string refusal(const char *ext, const std::string &text) {
        std::string message;
        HGLOBAL dib = decode(ext, text, &message);
        if (dib) GlobalFree(dib);
        return message;
    }
};

#endif
