#include "shell/frame/drop_rule.h"

extern "C" void drop_begin(DropRun *run, unsigned total) {
    run->total = total;
    run->done = run->failures = 0;
    run->stopped = 0;
}

extern "C" int drop_note(DropRun *run, int outcome) {
    run->done++;
    if (outcome == DROP_NO_WINDOW) run->stopped = 1;
    if (outcome == DROP_UNSUPPORTED || outcome == DROP_NOT_LOADED)
        if (++run->failures >= DROP_MAX_FAILURES) run->stopped = 1;
    return !run->stopped;
}

extern "C" unsigned drop_skipped(const DropRun *run) { return run->total - run->done; }
