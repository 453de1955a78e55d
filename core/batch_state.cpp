#include "core/batch_state.h"

static int running_flag;
static int unattended_flag;
static int cancel_flag;

extern "C" int batch_running(void) { return running_flag; }
extern "C" void batch_set_running(int on) { running_flag = on ? 1 : 0; }
extern "C" int batch_unattended(void) { return unattended_flag; }
extern "C" void batch_set_unattended(int on) { unattended_flag = on ? 1 : 0; }
extern "C" int batch_cancel_requested(void) { return cancel_flag; }
extern "C" void batch_set_cancel(int on) { cancel_flag = on ? 1 : 0; }
