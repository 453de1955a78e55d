#include "shell/imagewin/close_rule.h"

#include "shell/imagewin/record.h"

#define ANSWER_YES 6
#define ANSWER_NO 7

extern "C" int close_needs_question(int shiftDown, DWORD flags, int batchRunning) {
    if (shiftDown || batchRunning) return 0;
    if (!(flags & IRF_MODIFIED)) return 0;
    return (flags & IRF_MEDIA) == 0;
}

extern "C" int close_action(int answer, int formatSavable) {
    if (answer == ANSWER_YES) return formatSavable ? CLOSE_SAVE : CLOSE_SAVE_AS;
    if (answer == ANSWER_NO) return CLOSE_DISCARD;
    return CLOSE_KEEP;
}
