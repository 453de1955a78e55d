// CRC-32 register update (reflected, polynomial 0xEDB88320).  The caller
// owns the start value and the final inversion, so pieces can be chained.
#include "zyn_internal.h"

namespace {

void build_table(DWORD table[256]) {
    for (DWORD n = 0; n < 256; ++n) {
        DWORD c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
}

}  // namespace

extern "C" DWORD WINAPI ZYN_CRC_ProcessBuffer(const DWORD *table, DWORD crc, const BYTE *bytes, DWORD length) {
    DWORD local[256];
    if (!table) {
        build_table(local);
        table = local;
    }
    for (DWORD i = 0; i < length; ++i) crc = (crc >> 8) ^ table[(crc ^ bytes[i]) & 0xFF];
    return crc;
}
