// Canvas and tables of a free rotation.  The angle and the tables are the
// only floating point: every pixel is then mapped with integers.
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "rotate_map.h"

namespace {

const double kPi = 3.14159265;

void build(double c, double s, LONG n, double offset, int32_t *cos2, int32_t *sin2) {
    double half = n / 2.0;
    for (LONG v = 0; v < n; v++) {
        double d = v - half + offset;
        cos2[v] = (int32_t)(2 * c * d);
        sin2[v] = (int32_t)(2 * s * d);
    }
}

}  // namespace

int rotate_map_init(RotateMap *m, LONG W, LONG H, int phi, int samples) {
    memset(m, 0, sizeof *m);
    m->srcWidth = W;
    m->srcHeight = H;
    m->samples = samples;
    double theta = phi / 360.0 * 2 * kPi, c = cos(theta), s = sin(theta);
    // The corners at integer halves; the extremes give the canvas.
    int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
    for (int corner = 0; corner < 4; corner++) {
        double x = corner & 1 ? W / 2 : -(W / 2), y = corner & 2 ? H / 2 : -(H / 2);
        int64_t rx = (int64_t)(s * y + c * x), ry = (int64_t)(c * y - s * x);
        if (rx < minX) minX = rx;
        if (rx > maxX) maxX = rx;
        if (ry < minY) minY = ry;
        if (ry > maxY) maxY = ry;
    }
    int64_t w = maxX - minX + 1, h = maxY - minY + 1;
    if (w > IMG_MAX_SIDE || h > IMG_MAX_SIDE) return IMG_NO_MEMORY;
    m->width = (LONG)w;
    m->height = (LONG)h;
    static const double offsets[2][2] = {{0.5, 0.5}, {0.25, 0.75}};
    for (int i = 0; i < samples; i++) {
        m->c1[i] = static_cast<int32_t *>(malloc((size_t)w * sizeof(int32_t)));
        m->s1[i] = static_cast<int32_t *>(malloc((size_t)w * sizeof(int32_t)));
        m->c2[i] = static_cast<int32_t *>(malloc((size_t)h * sizeof(int32_t)));
        m->s2[i] = static_cast<int32_t *>(malloc((size_t)h * sizeof(int32_t)));
        if (!m->c1[i] || !m->s1[i] || !m->c2[i] || !m->s2[i]) return IMG_NO_MEMORY;
        double offset = offsets[samples - 1][i];
        build(c, s, m->width, offset, m->c1[i], m->s1[i]);
        build(c, s, m->height, offset, m->c2[i], m->s2[i]);
    }
    return IMG_OK;
}

void rotate_map_free(RotateMap *m) {
    for (int i = 0; i < 2; i++) {
        free(m->c1[i]);
        free(m->s1[i]);
        free(m->c2[i]);
        free(m->s2[i]);
    }
    memset(m, 0, sizeof *m);
}
