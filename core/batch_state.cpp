#include "core/batch_state.h"

#include "shell/settings/settings.h"

static int running_flag;
static int unattended_flag;
static int cancel_flag;

extern "C" int batch_running(void) { return running_flag; }
extern "C" void batch_set_running(int on) { running_flag = on ? 1 : 0; }
extern "C" int batch_unattended(void) { return unattended_flag; }
extern "C" void batch_set_unattended(int on) { unattended_flag = on ? 1 : 0; }
extern "C" int batch_cancel_requested(void) { return cancel_flag; }
extern "C" void batch_set_cancel(int on) { cancel_flag = on ? 1 : 0; }

static unsigned session;

extern "C" unsigned batch_session(void) { return session; }

extern "C" unsigned batch_session_begin(void) {
    LONG stored = (LONG)session;
    settings_section_read("Batch", "Session", &stored);
    session = ((unsigned)stored + 1u) & 0xFFFFu;
    settings_section_write("Batch", "Session", (LONG)session);
    return session;
}

extern "C" void batch_set_host_run(int on) {
    batch_set_running(on);
    batch_set_unattended(on);
    if (on) batch_session_begin();
}
