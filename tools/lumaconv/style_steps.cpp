/* The stylize filters as image steps: --filter appends one, and --amount,
   --p1, --p2 and --filter-color change the last --filter before them (or,
   given before any, the next one).  `lumaconv filters` lists the table. */
#include <ctype.h>
#include <stdlib.h>
#include <string.h>

#include "lumaconv.h"
#include "style.h"

/* The family's scratch row. */
enum {
    ST_LAST,    /* 1 + index of the last --filter step, 0 before the first */
    ST_PENDING, /* bits of the values given before the first --filter */
    ST_AMOUNT,
    ST_P1,
    ST_P2,
    ST_COLOR
};
/* The step's arguments. */
enum { ARG_FILTER, ARG_AMOUNT, ARG_P1, ARG_P2, ARG_COLOR };

static void filter_name(int number, char *name, int size) {
    StyFilterInfo info;
    name[0] = '\0';
    if (sty_filter_info(number, &info)) LoadStringA(sty_instance(), info.nameId, name, size);
}

/* The table's name without its leading "*" and a trailing "[...]". */
static void plain_name(int number, char *name, int size) {
    char full[128];
    filter_name(number, full, sizeof full);
    const char *start = full[0] == '*' ? full + 1 : full;
    const char *mark = strchr(start, '[');
    size_t n = mark ? (size_t)(mark - start) : strlen(start);
    while (n > 0 && start[n - 1] == ' ') n--;
    if (n >= (size_t)size) n = (size_t)size - 1;
    memcpy(name, start, n);
    name[n] = '\0';
}

static int same_text(const char *a, const char *b) {
    for (; *a && *b; a++, b++)
        if (tolower((unsigned char)*a) != tolower((unsigned char)*b)) return 0;
    return *a == *b;
}

/* A whole decimal number in low..high. */
static int parse_number(const char *text, long low, long high, long *value) {
    char *end;
    if (!isdigit((unsigned char)text[0])) return 0;
    long v = strtol(text, &end, 10);
    if (*end || v < low || v > high) return 0;
    *value = v;
    return 1;
}

static int parse_filter(const char *text, long *number) {
    if (parse_number(text, 0, STY_FILTER_COUNT - 1, number)) return 1;
    for (int i = 0; i < STY_FILTER_COUNT; i++) {
        char name[128];
        plain_name(i, name, sizeof name);
        if (same_text(name, text)) return *number = i, 1;
    }
    return 0;
}

/* R,G,B as the color argument: red in the low byte. */
static int parse_color(const char *text, long *color) {
    long c[3];
    const char *p = text;
    for (int i = 0; i < 3; i++) {
        char part[8];
        size_t n = strcspn(p, ",");
        if (n == 0 || n >= sizeof part || (i < 2 && p[n] != ',') || (i == 2 && p[n] != '\0')) return 0;
        memcpy(part, p, n);
        part[n] = '\0';
        if (!parse_number(part, 0, 255, &c[i])) return 0;
        p += n + (i < 2);
    }
    *color = c[0] | c[1] << 8 | c[2] << 16;
    return 1;
}

static int apply_filter(const ImageStep *step, HGLOBAL *dib) {
    HGLOBAL out = STY_CallFilter((DWORD)step->arg[ARG_FILTER], *dib, (int)step->arg[ARG_AMOUNT],
                                 (DWORD)step->arg[ARG_P1], (DWORD)step->arg[ARG_P2], 0, (DWORD)step->arg[ARG_COLOR]);
    if (!out) return 0; /* the filter has reported why */
    GlobalFree(*dib);
    *dib = out;
    return 1;
}

static int add_filter(StepList *list, long *state, const char *value) {
    long number;
    if (!parse_filter(value, &number)) return 0;
    ImageStep *s = step_append(list);
    if (!s) return 0;
    StyFilterInfo info;
    sty_filter_info((int)number, &info);
    s->apply = apply_filter;
    s->text = value;
    s->arg[ARG_FILTER] = number;
    s->arg[ARG_AMOUNT] = STY_FULL_AMOUNT;
    s->arg[ARG_P1] = info.default1;
    s->arg[ARG_P2] = info.default2;
    s->arg[ARG_COLOR] = 0;
    /* Values given before the first --filter are its own. */
    static const int fields[] = {ARG_AMOUNT, ARG_P1, ARG_P2, ARG_COLOR};
    for (int i = 0; i < 4; i++)
        if (state[ST_PENDING] & (1L << i)) s->arg[fields[i]] = state[ST_AMOUNT + i];
    state[ST_PENDING] = 0;
    state[ST_LAST] = list->count;
    return 1;
}

/* A modifier: the last --filter's argument, or the next one's. */
static int set_value(StepList *list, long *state, int field, long value) {
    if (state[ST_LAST] > 0) {
        list->step[state[ST_LAST] - 1].arg[field] = value;
    } else {
        state[ST_PENDING] |= 1L << (field - ARG_AMOUNT);
        state[ST_AMOUNT + field - ARG_AMOUNT] = value;
    }
    return 1;
}

static int add_amount(StepList *list, long *state, const char *value) {
    long v;
    return parse_number(value, 0, STY_FULL_AMOUNT, &v) && set_value(list, state, ARG_AMOUNT, v);
}

static int add_p1(StepList *list, long *state, const char *value) {
    long v;
    return parse_number(value, 0, 255, &v) && set_value(list, state, ARG_P1, v);
}

static int add_p2(StepList *list, long *state, const char *value) {
    long v;
    return parse_number(value, 0, 255, &v) && set_value(list, state, ARG_P2, v);
}

static int add_color(StepList *list, long *state, const char *value) {
    long v;
    return parse_color(value, &v) && set_value(list, state, ARG_COLOR, v);
}

static const StepOption STYLE_OPTIONS[] = {
    {"--filter", 1, add_filter}, {"--amount", 1, add_amount},      {"--p1", 1, add_p1},
    {"--p2", 1, add_p2},         {"--filter-color", 1, add_color},
};

const StepFamily style_steps = {
    STYLE_OPTIONS, (int)(sizeof STYLE_OPTIONS / sizeof STYLE_OPTIONS[0]),
    "  --filter NAME|N         a stylize filter by its name (without the \"*\"\n"
    "                          and \"[...]\" marks, any case) or number; see\n"
    "                          lumaconv filters.  The result is 24-bit, or\n"
    "                          32-bit with the alpha kept for a 32-bit image\n"
    "  --amount 0..16384       strength of the filter (default 16384)\n"
    "  --p1 0..255, --p2 0..255\n"
    "                          the filter's two parameters (default: the\n"
    "                          table's)\n"
    "  --filter-color R,G,B    the filter's color (default 0,0,0)\n"
    "                          These four change the last --filter before\n"
    "                          them, or the next one when given first\n"};

static void print_label(UINT label, int value) {
    char text[64];
    if (!label || !LoadStringA(sty_instance(), label, text, sizeof text)) {
        fputs("\t-", stdout);
        return;
    }
    printf("\t%s=%d", text, value);
}

/* One line a filter: NUMBER NAME KIND P1 P2 COLOR, separated by tabs. */
int cmd_filters(int argc, char **argv) {
    (void)argv;
    if (argc != 2) {
        tool_error("usage: lumaconv filters");
        return EXIT_USAGE;
    }
    for (int i = 0; i < STY_FILTER_COUNT; i++) {
        StyFilterInfo info;
        char name[128];
        sty_filter_info(i, &info);
        filter_name(i, name, sizeof name);
        printf("%d\t%s\t%s", info.number, name, info.rows ? "rows" : "whole");
        print_label(info.label1, info.default1);
        print_label(info.label2, info.default2);
        printf("\t%s\n", info.flags & STY_FLAG_COLOR ? "color" : "-");
    }
    return EXIT_OK;
}
