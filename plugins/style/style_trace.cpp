// The debug trace.  Nothing happens unless the log file exists; then each
// channel reads its switches once from its section of the switch file
// (writing the defaults there when the section has none) and appends one
// line a traced step.  The filters trace on channel 1.
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "style_internal.h"
#include "style_profile.h"

namespace {

struct Channel {
    const char *section;
    int ready;
    int eeTrace, trace, flash, assertions, stack, monitor;
};

Channel g_channels[3] = {{"STYDebug", 0, 0, 0, 0, 0, 0, 0},
                         {"LINEDebug", 0, 0, 0, 0, 0, 0, 0},
                         {"ZYNDebug", 0, 0, 0, 0, 0, 0, 0}};

#ifdef _WIN32
char g_ini[MAX_PATH] = "zyndebug.ini";  // in the Windows directory
char g_log[MAX_PATH] = "c:\\tmp\\debug.log";
#else
// The drive's root becomes the file system's.
char g_ini[MAX_PATH] = "/tmp/zyndebug.ini";
char g_log[MAX_PATH] = "/tmp/debug.log";
#endif

struct Switch {
    const char *key;
    int fallback;
    int Channel::*field;
};

const Switch kSwitches[] = {{"EETrace", 0, &Channel::eeTrace}, {"Trace", 0, &Channel::trace},
                            {"Flash", 1, &Channel::flash},     {"Assert", 1, &Channel::assertions},
                            {"Stack", 0, &Channel::stack},     {"Monitor", 0, &Channel::monitor}};

bool log_exists(void) {
    FILE *f = fopen(g_log, "rb");
    if (!f) return false;
    fclose(f);
    return true;
}

void channel_init(Channel *c) {
    if (c->ready) return;
    c->ready = 1;
    if (sty_profile_int(c->section, "init", 0, g_ini) == 0) {
        sty_profile_write(c->section, "init", 1, g_ini);
        for (const Switch &s : kSwitches) sty_profile_write(c->section, s.key, s.fallback, g_ini);
    }
    for (const Switch &s : kSwitches) c->*s.field = sty_profile_int(c->section, s.key, s.fallback, g_ini);
}

// Lines of an unknown kind ("Not Implemented Yet") are written always.
bool wanted(const Channel *c, const char *kind) {
    if (strcmp(kind, "Ent") == 0 || strcmp(kind, "Exi") == 0) return c->eeTrace != 0;
    if (strcmp(kind, "Exe") == 0) return c->trace != 0;
    if (strcmp(kind, "Flash") == 0) return c->flash != 0;
    if (strcmp(kind, "Check") == 0) return c->assertions != 0;
    return true;
}

const char *base_name(const char *path) {
    const char *name = path;
    for (const char *p = path; *p; p++)
        if (*p == '/' || *p == '\\') name = p + 1;
    return name;
}

}  // namespace

extern "C" void sty_trace_set_files(const char *ini, const char *log) {
    snprintf(g_ini, sizeof g_ini, "%s", ini);
    snprintf(g_log, sizeof g_log, "%s", log);
    for (Channel &c : g_channels) c.ready = 0;
}

extern "C" void sty_trace(const char *kind, const char *file, int line, const char *format, ...) {
    if (!log_exists()) return;
    Channel *c = &g_channels[0];
    channel_init(c);
    if (!wanted(c, kind)) return;
    char message[256];
    va_list args;
    va_start(args, format);
    vsnprintf(message, sizeof message, format, args);
    va_end(args);
    FILE *f = fopen(g_log, "a");
    if (!f) return;
    fprintf(f, "%s: F: %s, L: %d, %s\n", kind, base_name(file), line, message);
    fclose(f);
}
