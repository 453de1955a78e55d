/* The host services a format plug-in calls.  The host's module handle
   comes with each call; without a host (or with the plug-in's own module,
   as FOR_LoadJPG passes) the services do nothing and report "not in a
   batch". */
#include <string.h>

#include "kojpeg_hooks.h"

static KojpegHostApi bound;

#ifdef _WIN32
typedef void(WINAPI *RangeProc)(int, int);
typedef void(WINAPI *StepProc)(int);
typedef void(WINAPI *RegisterProc)(BYTE *);
typedef void(WINAPI *WordProc)(int, int);
typedef void(WINAPI *LongProc)(int, long);
typedef void(WINAPI *TextProc)(int, const char *);
typedef void(WINAPI *DoneProc)(void);
typedef int(WINAPI *QueryProc)(void);

static struct {
    RangeProc range;
    StepProc step;
    RegisterProc reg;
    WordProc word;
    LongProc lng;
    TextProc text;
    DoneProc done;
    QueryProc inBatch, session;
} win;

static void call_range(int a, int b) { win.range(a, b); }
static void call_step(int a) { win.step(a); }
static void call_register(BYTE *r) { win.reg(r); }
static void call_word(int k, int v) { win.word(k, v); }
static void call_long(int k, long v) { win.lng(k, v); }
static void call_text(int k, const char *t) { win.text(k, t); }
static void call_done(void) { win.done(); }
static int call_in_batch(void) { return win.inBatch(); }
static int call_session(void) { return win.session(); }

#define LOOK(field, name) win.field = (decltype(win.field))(void *)GetProcAddress(host, name)

extern "C" void host_bind(HMODULE host) {
    memset(&bound, 0, sizeof bound);
    memset(&win, 0, sizeof win);
    if (!host || host == kojpeg_instance()) return;
    LOOK(range, "RQ_FmtProgressRange");
    LOOK(step, "RQ_FmtProgressStep");
    LOOK(reg, "RQ_FmtRegister");
    LOOK(word, "RQ_FmtSetInfoWord");
    LOOK(lng, "RQ_FmtSetInfoLong");
    LOOK(text, "RQ_FmtSetInfoText");
    LOOK(done, "RQ_FmtInfoDone");
    LOOK(inBatch, "RQ_InBatch");
    LOOK(session, "RQ_GetBatchSession");
    if (win.range) bound.progressRange = call_range;
    if (win.step) bound.progressStep = call_step;
    if (win.reg) bound.registerFormat = call_register;
    if (win.word) bound.infoWord = call_word;
    if (win.lng) bound.infoLong = call_long;
    if (win.text) bound.infoText = call_text;
    if (win.done) bound.infoDone = call_done;
    if (win.inBatch) bound.inBatch = call_in_batch;
    if (win.session) bound.batchSession = call_session;
}

extern "C" void kojpeg_set_host_api(const KojpegHostApi *) {}
#else
static KojpegHostApi installed;
static int haveInstalled;

extern "C" void kojpeg_set_host_api(const KojpegHostApi *api) {
    haveInstalled = api != NULL;
    if (api) installed = *api;
}

extern "C" void host_bind(HMODULE host) {
    memset(&bound, 0, sizeof bound);
    if (host && host != kojpeg_instance() && haveInstalled) bound = installed;
}
#endif

extern "C" void host_progress_range(int low, int high) {
    if (bound.progressRange) bound.progressRange(low, high);
}
extern "C" void host_progress_step(int percent) {
    if (bound.progressStep) bound.progressStep(percent);
}
extern "C" void host_register(BYTE *record) {
    if (bound.registerFormat) bound.registerFormat(record);
}
extern "C" void host_info_word(int key, int value) {
    if (bound.infoWord) bound.infoWord(key, value);
}
extern "C" void host_info_long(int key, long value) {
    if (bound.infoLong) bound.infoLong(key, value);
}
extern "C" void host_info_text(int key, const char *text) {
    if (bound.infoText) bound.infoText(key, text);
}
extern "C" void host_info_done(void) {
    if (bound.infoDone) bound.infoDone();
}
extern "C" int host_in_batch(void) { return bound.inBatch ? bound.inBatch() : 0; }
extern "C" int host_batch_session(void) { return bound.batchSession ? bound.batchSession() : 0; }
