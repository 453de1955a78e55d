/* lumaconv COMMAND ...: see help.cpp. */
#include <locale.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "lumaconv.h"

void tool_error(const char *format, ...) {
    va_list args;
    va_start(args, format);
    fputs("lumaconv: ", stderr);
    vfprintf(stderr, format, args);
    fputc('\n', stderr);
    va_end(args);
}

typedef int (*Command)(int argc, char **argv);

static const struct {
    const char *name;
    Command run;
} commands[] = {
    {"formats", cmd_formats},
    {"info", cmd_info},
    {"convert", cmd_convert},
    {"batch", cmd_batch},
#ifdef LC_HAVE_STYLE
    {"filters", cmd_filters},
#endif
};

int main(int argc, char **argv) {
    /* Character classes of the user's code page: detection upper-cases
       extensions with the C runtime's toupper. */
    setlocale(LC_CTYPE, "");
    if (argc < 2) {
        print_help(stderr);
        return EXIT_USAGE;
    }
    if (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0 || strcmp(argv[1], "help") == 0) {
        print_help(stdout);
        return EXIT_OK;
    }
    for (size_t i = 0; i < sizeof commands / sizeof commands[0]; i++) {
        if (strcmp(argv[1], commands[i].name) != 0) continue;
        if (!engine_start()) return EXIT_FAILED;
        int code = commands[i].run(argc, argv);
        engine_stop();
        fflush(stdout);
        return code;
    }
    tool_error("unknown command '%s' (try lumaconv --help)", argv[1]);
    return EXIT_USAGE;
}
