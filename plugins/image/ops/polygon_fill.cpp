// Scanline fill of polygons in window coordinates.  Each pixel row samples
// the window at its centre; an edge crossing is worked out exactly in
// 64-bit integers to 1/65536 of a window unit, then mapped to the row.
// Only the edges that span a row are looked at there: the rows an edge may
// cross are estimated once (in floating point, a row wider each way) and
// the exact test decides.
#include <math.h>
#include <stdlib.h>

#include <algorithm>

#include "polygon_fill.h"

namespace {

struct Edge {
    int32_t x0, y0, x1, y1;
    LONG first, last;  // the pixel rows it may cross, a row wider each way
};

struct Crossing {
    int64_t x;  // device x, 16.16
    int dir;
    bool operator<(const Crossing &o) const { return x < o.x; }
};

int64_t floor_div(int64_t a, int64_t b) {
    int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

int64_t ceil_div(int64_t a, int64_t b) { return -floor_div(-a, b); }

// The edge's crossing with window y = ny / dy (dy > 0), as device x.
int64_t crossing_x(const Edge &e, int64_t ny, int64_t dy, const ImgWindow &w, LONG width) {
    int64_t num = (ny - (int64_t)e.y0 * dy) * (int64_t)(e.x1 - e.x0);
    int64_t den = dy * (int64_t)(e.y1 - e.y0);
    if (den < 0) num = -num, den = -den;
    int64_t q = floor_div(num, den), rem = num - q * den;
    int64_t window16 = ((int64_t)e.x0 + q) * 65536 + (rem << 16) / den;
    return floor_div((window16 - (int64_t)w.orgX * 65536) * width, w.extX);
}

void row_range(Edge *e, const ImgWindow &w, LONG height) {
    double lo = e->y0 < e->y1 ? e->y0 : e->y1, hi = e->y0 < e->y1 ? e->y1 : e->y0;
    double a = (lo - w.orgY) * height / w.extY - 0.5, b = (hi - w.orgY) * height / w.extY - 0.5;
    if (a > b) {
        double t = a;
        a = b, b = t;
    }
    a = floor(a) - 1, b = ceil(b) + 1;
    e->first = a < 0 ? 0 : a >= height ? height : (LONG)a;
    e->last = b < 0 ? -1 : b >= height ? height - 1 : (LONG)b;
}

void fill_span(BYTE *row, LONG width, int64_t from, int64_t to, BYTE value) {
    // Pixels whose centre (x + 1/2) lies in [from, to).
    int64_t a = ceil_div(from - 32768, 65536), b = ceil_div(to - 32768, 65536);
    if (a < 0) a = 0;
    if (b > width) b = width;
    for (int64_t x = a; x < b; x++) row[x] = value;
}

}  // namespace

int img_fill_polygons(const ImgPoint *points, const uint32_t *counts, uint32_t polygons, int mode,
                      const ImgWindow *w, const ImgRaster *r, BYTE value) {
    if (w->extX == 0 || w->extY == 0) return 1;  // nothing maps onto the raster
    size_t total = 0;
    for (uint32_t i = 0; i < polygons; i++) total += counts[i];
    Edge *edges = static_cast<Edge *>(malloc((total ? total : 1) * sizeof(Edge)));
    Crossing *cross = static_cast<Crossing *>(malloc((total ? total : 1) * sizeof(Crossing)));
    if (!edges || !cross) {
        free(edges);
        free(cross);
        return 0;
    }
    size_t n = 0;
    const ImgPoint *p = points;
    for (uint32_t i = 0; i < polygons; p += counts[i], i++)
        for (uint32_t k = 0; counts[i] > 1 && k < counts[i]; k++) {
            const ImgPoint &a = p[k], &b = p[(k + 1) % counts[i]];
            if (a.y == b.y) continue;
            edges[n] = Edge{a.x, a.y, b.x, b.y, 0, 0};
            row_range(&edges[n], *w, r->height);
            if (edges[n].first <= edges[n].last) n++;
        }
    std::sort(edges, edges + n, [](const Edge &a, const Edge &b) { return a.first < b.first; });
    // Window y of row centre r: orgY + (2r + 1) extY / 2H, kept as ny / dy.
    int64_t dy = 2 * (int64_t)r->height;
    size_t next = 0, active = 0;  // edges[next..] start later; edges[0..active) may span the row
    for (LONG row = 0; n && row < r->height; row++) {
        while (next < n && edges[next].first <= row) edges[active++] = edges[next++];
        int64_t ny = (int64_t)w->orgY * dy + (2 * (int64_t)row + 1) * w->extY;
        size_t c = 0;
        for (size_t i = 0; i < active;) {
            const Edge &e = edges[i];
            if (e.last < row) {
                edges[i] = edges[--active];  // done with it; the slot takes the last active one
                continue;
            }
            int32_t lo = e.y0 < e.y1 ? e.y0 : e.y1, hi = e.y0 < e.y1 ? e.y1 : e.y0;
            if ((int64_t)lo * dy <= ny && ny < (int64_t)hi * dy)
                cross[c++] = Crossing{crossing_x(e, ny, dy, *w, r->width), e.y1 > e.y0 ? 1 : -1};
            i++;
        }
        if (c < 2) continue;
        std::sort(cross, cross + c);
        BYTE *line = r->bits + (size_t)(r->height - 1 - row) * r->stride;  // device rows run top-down
        int winding = 0;
        for (size_t i = 0; i + 1 < c; i++) {
            winding += cross[i].dir;
            bool inside = mode == IMG_FILL_WINDING ? winding != 0 : (i & 1) == 0;
            if (inside) fill_span(line, r->width, cross[i].x, cross[i + 1].x, value);
        }
    }
    free(edges);
    free(cross);
    return 1;
}
