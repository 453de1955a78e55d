// ZYN_CT_Transform: the point's coordinates in the source triangle's edge
// basis, applied to the destination triangle.
#include "zynlib.h"

extern "C" void WINAPI ZYN_CT_Transform(double x, double y, double *outX, double *outY, const double *source,
                                        const double *destination) {
    const double *p = source, *q = destination;
    double ex1 = p[2] - p[0], ey1 = p[3] - p[1];
    double ex2 = p[4] - p[0], ey2 = p[5] - p[1];
    double dy = y - p[1];
    double m = (ex1 * dy + (p[0] - x) * ey1) / (ex1 * ey2 - ey1 * ex2);
    double t = ex1 != 0 ? (x - p[0] - ex2 * m) / ex1 : (dy - ey2 * m) / ey1;
    if (outX) *outX = q[0] + t * (q[2] - q[0]) + m * (q[4] - q[0]);
    if (outY) *outY = q[1] + t * (q[3] - q[1]) + m * (q[5] - q[1]);
}
