// Scrolling a scroll-bar control from its notification.
#include "util_internal.h"
#include "zyn_internal.h"

extern "C" int WINAPI ZYN_UTI_ScrollEx(HWND ignored, WPARAM code, HWND scrollBar, BOOL thumbTrack, int lineStep,
                                       int pageStep) {
    (void)ignored;
    int min = 0, max = 0;
    if (!GetScrollRange(scrollBar, SB_CTL, &min, &max)) return -1;
    int pos = GetScrollPos(scrollBar, SB_CTL);
    int next = zyn_scroll_position(min, max, pos, LOWORD(code), HIWORD(code), thumbTrack, lineStep, pageStep);
    if (next != -1) SetScrollPos(scrollBar, SB_CTL, next, TRUE);
    return next;
}

extern "C" int WINAPI ZYN_UTI_Scroll(HWND ignored, WPARAM code, HWND scrollBar, BOOL thumbTrack) {
    int min = 0, max = 0;
    if (!GetScrollRange(scrollBar, SB_CTL, &min, &max)) return -1;
    int line, page;
    zyn_scroll_steps(min, max, &line, &page);
    return ZYN_UTI_ScrollEx(ignored, code, scrollBar, thumbTrack, line, page);
}
