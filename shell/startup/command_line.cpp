#include "shell/startup/command_line.h"

#include <ctype.h>
#include <string.h>

#define CMD_OPEN 257
#define CMD_BATCH 260
#define LOGO_MS 10000

static int is_blank(char c) { return c == ' ' || c == '\t'; }

static const char *skip_blanks(const char *p) {
    while (is_blank(*p)) p++;
    return p;
}

/* Leading words that begin with '/' are options; the file name is what
   follows them. */
static char *file_part(char *text) {
    char *p = (char *)skip_blanks(text);
    while (*p == '/') {
        while (*p && !is_blank(*p)) p++;
        p = (char *)skip_blanks(p);
    }
    return p;
}

/* Shells that quote a name with blanks pass the quotes along. */
static char *unquote(char *name) {
    size_t n = strlen(name);
    while (n > 0 && is_blank(name[n - 1])) name[--n] = '\0';
    if (n >= 2 && name[0] == '"' && name[n - 1] == '"') {
        name[n - 1] = '\0';
        return name + 1;
    }
    return name;
}

extern "C" void command_line_parse(char *text, CommandLine *out) {
    out->flags = 0;
    out->file = NULL;
    if (!text) return;
    for (char *p = text; *p; p++) *p = (char)toupper((unsigned char)*p);
    if (strstr(text, "/LOAD"))
        out->flags |= CL_LOAD;
    else if (strstr(text, "/BATCH"))
        out->flags |= CL_BATCH;
    if (strstr(text, "/NOLOGO")) out->flags |= CL_NOLOGO;
    char *name = unquote(file_part(text));
    if (*name) out->file = name;
}

extern "C" UINT startup_command(int flags, LONG startupSetting) {
    if (flags & CL_LOAD) return CMD_OPEN;
    if (flags & CL_BATCH) return CMD_BATCH;
    if (startupSetting == 1) return CMD_OPEN;
    if (startupSetting == 2) return CMD_BATCH;
    return 0;
}

extern "C" DWORD logo_delay(const CommandLine *cl) { return cl->file ? 0 : LOGO_MS; }
