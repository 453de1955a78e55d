/* The GIF writer's LZW compressor: an open-addressing hash of (pixel,
   prefix) keys over 5003 slots, probing backwards; a full table is
   cleared and a clear code sent.  Codes go out least-significant bit first
   in packets of at most 254 bytes. */
#include <stdlib.h>
#include <string.h>

#include "codecs/gif/gif_lzw.h"

namespace {

const int HASH_SIZE = 5003;
const int HASH_SHIFT = 4; /* 8 minus the doublings that take 5003 to 65536 */
const int PACKET_MAX = 254;

}  // namespace

struct GifEncoder {
    int32_t keys[HASH_SIZE]; /* -1: empty */
    uint16_t codes[HASH_SIZE];
    BYTE packet[256];
    int packetUsed;
    uint32_t bitBuffer;
    int bitCount;
    int initBits, width, maxCode, nextCode, clearCode, endCode, clearPending;
    int prefix; /* -1 before the first pixel */
    ByteSink *sink;
};

static void clear_hash(GifEncoder *e) { memset(e->keys, 0xFF, sizeof e->keys); }

static void flush_packet(GifEncoder *e) {
    if (e->packetUsed == 0) return;
    sink_u8(e->sink, (BYTE)e->packetUsed);
    sink_bytes(e->sink, e->packet, (size_t)e->packetUsed);
    e->packetUsed = 0;
}

static inline void put_byte(GifEncoder *e, BYTE b) {
    e->packet[e->packetUsed++] = b;
    if (e->packetUsed >= PACKET_MAX) flush_packet(e);
}

/* After each code the width follows the table: one bit more once the next
   free code no longer fits, back to the start after a clear. */
static void output(GifEncoder *e, int code) {
    e->bitBuffer |= (uint32_t)code << e->bitCount;
    e->bitCount += e->width;
    while (e->bitCount >= 8) {
        put_byte(e, (BYTE)e->bitBuffer);
        e->bitBuffer >>= 8;
        e->bitCount -= 8;
    }
    if (e->clearPending) {
        e->width = e->initBits;
        e->maxCode = (1 << e->width) - 1;
        e->clearPending = 0;
    } else if (e->nextCode > e->maxCode) {
        e->width++;
        e->maxCode = e->width == GIF_MAX_BITS ? GIF_MAX_CODES : (1 << e->width) - 1;
    }
}

GifEncoder *gif_encoder_create(int initBits, ByteSink *sink) {
    GifEncoder *e = (GifEncoder *)malloc(sizeof(GifEncoder));
    if (!e) return NULL;
    e->packetUsed = 0;
    e->bitBuffer = 0;
    e->bitCount = 0;
    e->initBits = initBits;
    e->width = initBits;
    e->maxCode = (1 << initBits) - 1;
    e->clearCode = 1 << (initBits - 1);
    e->endCode = e->clearCode + 1;
    e->nextCode = e->clearCode + 2;
    e->clearPending = 0;
    e->prefix = -1;
    e->sink = sink;
    clear_hash(e);
    output(e, e->clearCode);
    return e;
}

/* Slot of key, or of the empty slot where it would go. */
static inline int find_slot(const GifEncoder *e, int32_t key, int pixel, int prefix) {
    int slot = (pixel << HASH_SHIFT) ^ prefix;
    if (e->keys[slot] == key || e->keys[slot] < 0) return slot;
    int step = slot == 0 ? 1 : HASH_SIZE - slot;
    for (;;) {
        slot -= step;
        if (slot < 0) slot += HASH_SIZE;
        if (e->keys[slot] == key || e->keys[slot] < 0) return slot;
    }
}

void gif_encoder_pixels(GifEncoder *e, const BYTE *pixels, size_t count) {
    size_t i = 0;
    if (e->prefix < 0 && count) e->prefix = pixels[i++];
    int prefix = e->prefix;
    for (; i < count; i++) {
        int pixel = pixels[i];
        int32_t key = (pixel << GIF_MAX_BITS) + prefix;
        int slot = find_slot(e, key, pixel, prefix);
        if (e->keys[slot] == key) {
            prefix = e->codes[slot];
            continue;
        }
        output(e, prefix);
        prefix = pixel;
        if (e->nextCode < GIF_MAX_CODES) {
            e->codes[slot] = (uint16_t)e->nextCode++;
            e->keys[slot] = key;
        } else {
            clear_hash(e);
            e->nextCode = e->clearCode + 2;
            e->clearPending = 1;
            output(e, e->clearCode);
        }
    }
    e->prefix = prefix;
}

void gif_encoder_finish(GifEncoder *e) {
    if (e->prefix >= 0) output(e, e->prefix);
    output(e, e->endCode);
    while (e->bitCount > 0) {
        put_byte(e, (BYTE)e->bitBuffer);
        e->bitBuffer >>= 8;
        e->bitCount -= 8;
    }
    e->bitBuffer = 0;
    e->bitCount = 0;
    flush_packet(e);
}

void gif_encoder_free(GifEncoder *e) { free(e); }
