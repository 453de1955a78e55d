/* Pure pieces of the utilities, apart from the system calls that feed them,
   so they can be tested without Windows. */
#ifndef ZYN_UTIL_INTERNAL_H
#define ZYN_UTIL_INTERNAL_H

#include "zynlib.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Writes the date by a short-date pattern ("MM/dd/yy", "dd.MM.yyyy" ...):
   three fields (M, MM, d, dd, yy, yyyy), each kind once, with a separator of
   1 to 4 characters after the first two.  Any other pattern gives
   year/day/month.  out holds at least ZYN_DATE_MAX bytes. */
void zyn_format_date(char *out, const char *pattern, UINT year, UINT month, UINT day);

/* Scroll codes of a scroll-bar notification. */
enum {
    ZYN_SB_LINEUP = 0,
    ZYN_SB_LINEDOWN = 1,
    ZYN_SB_PAGEUP = 2,
    ZYN_SB_PAGEDOWN = 3,
    ZYN_SB_THUMBPOSITION = 4,
    ZYN_SB_THUMBTRACK = 5
};

/* The default steps for a range: a hundredth (at least 1) and a fifth (at
   least 2) of it. */
void zyn_scroll_steps(int min, int max, int *lineStep, int *pageStep);

/* The new position of a scroll bar at pos in [min, max] after the code
   (thumb is the thumb position of codes 4 and 5; code 5 counts only with
   thumbTrack set); -1 when the code is unknown or the position would not
   change. */
int zyn_scroll_position(int min, int max, int pos, UINT code, int thumb, BOOL thumbTrack, int lineStep,
                        int pageStep);

#ifdef __cplusplus
}
#endif

#endif
