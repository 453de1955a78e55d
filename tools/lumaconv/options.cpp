/* Options of convert and batch. */
#include <stdlib.h>
#include <string.h>

#include "codecs/ico/ico.h"
#include "lumaconv.h"
#include "shell/settings/settings.h"

/* --dither names in the order of the dither_type values; "none" is
   separate (save_dither off). */
static const char *const DITHER_NAMES[] = {"halftone", "fast", "fs", "stucki", "burkes",
                                           "sierra", "jjn", "sa", "fs-nosmall"};

static int parse_depth(const char *text) {
    static const int depths[] = {1, 4, 8, 16, 24, 32};
    char *end;
    long v = strtol(text, &end, 10);
    if (*end) return 0;
    for (int d : depths)
        if (v == d) return d;
    return 0;
}

static int parse_dither(const char *text) {
    if (strcmp(text, "none") == 0) return 0;
    for (size_t i = 0; i < sizeof DITHER_NAMES / sizeof DITHER_NAMES[0]; i++)
        if (strcmp(text, DITHER_NAMES[i]) == 0) return (int)i + 1;
    return -2;
}

#ifdef LC_HAVE_KOJPEG
#include "kojpeg_link.h"

/* jpeg_level=N: the quality level (0 best .. 19 smallest) of JPG, PIC and
   KQP saves, which the program would ask for in its sheet. */
static int apply_jpeg_level(const char *value) {
    char *end;
    long level = strtol(value, &end, 10);
    if (!*value || *end || level < 0 || level > 19) return 0;
    kojpeg_set_save_level((int)level);
    return 1;
}
#endif

/* NAME=VALUE into the settings array; the value is a decimal or 0x number
   as the store would hold it. */
static int apply_setting(const char *assignment) {
    const char *eq = strchr(assignment, '=');
    if (!eq || eq == assignment || eq - assignment > 32) return 0;
    char name[33];
    memcpy(name, assignment, (size_t)(eq - assignment));
    name[eq - assignment] = '\0';
#ifdef LC_HAVE_KOJPEG
    if (strcmp(name, "jpeg_level") == 0) return apply_jpeg_level(eq + 1);
#endif
    int offset = settings_offset_of(name);
    if (offset < 0) return 0;
    char *end;
    long long v = strtoll(eq + 1, &end, 0);
    if (!eq[1] || *end || v < -2147483648LL || v > 4294967295LL) return 0;
    settings_write((UINT)offset, (LONG)(int)(unsigned)v);
    return 1;
}

/* Options without a value; 0 for a name that is not one of them, -1 when
   it is one but misused. */
static int apply_flag(const char *name, ConvertOptions *o) {
    if (strcmp(name, "--compress") == 0) {
        o->compress = 1;
        return 1;
    }
    if (strcmp(name, "--gray") != 0 && strcmp(name, "--color") != 0) return 0;
    int want = strcmp(name, "--color") == 0;
    if (o->colorChoice >= 0 && o->colorChoice != want) {
        tool_error("--gray and --color exclude each other");
        return -1;
    }
    o->colorChoice = want;
    return 1;
}

static int apply_cut(const char *v, ConvertOptions *o) {
    if (strcmp(v, "flat") == 0) return o->cut = 0, 1;
    if (strcmp(v, "optimized") == 0) return o->cut = 1, 1;
    return 0;
}

static int apply_answer(const char *v, ConvertOptions *o) {
    if (strcmp(v, "yes") == 0) return o->answerYes = 1, 1;
    if (strcmp(v, "no") == 0) return o->answerYes = 0, 1;
    return 0;
}

/* --icon-type: one of the nine type codes (17 .. 68) of the icon writer. */
static int apply_icon_type(const char *v, ConvertOptions *o) {
    char *end;
    unsigned long code = strtoul(v, &end, 10);
    if (!*v || *end || code > 255 || ico_type_index((unsigned)code) < 0) return 0;
    o->iconType = (unsigned)code;
    return 1;
}

static int apply_icon_mask(const char *v, ConvertOptions *o) {
    if (strcmp(v, "0") != 0 && strcmp(v, "1") != 0) return 0;
    o->iconMask = v[0] - '0';
    return 1;
}

static int takes_value(const char *name) {
    static const char *const names[] = {"--depth", "--cut", "--dither", "--set", "--answer", "--to",
                                        "--icon-type", "--icon-mask"};
    for (const char *n : names)
        if (strcmp(name, n) == 0) return 1;
    return 0;
}

/* Options with a value: 1 applied, 0 bad value (reported), -1 unknown. */
static int apply_valued(const char *name, const char *v, ConvertOptions *o) {
    int ok;
    if (strcmp(name, "--depth") == 0)
        ok = (o->depth = parse_depth(v)) != 0;
    else if (strcmp(name, "--cut") == 0)
        ok = apply_cut(v, o);
    else if (strcmp(name, "--dither") == 0)
        ok = (o->dither = parse_dither(v)) >= 0;
    else if (strcmp(name, "--set") == 0)
        ok = apply_setting(v);
    else if (strcmp(name, "--answer") == 0)
        ok = apply_answer(v, o);
    else if (strcmp(name, "--to") == 0)
        ok = (o->toExtension = v) != NULL;
    else if (strcmp(name, "--icon-type") == 0)
        ok = apply_icon_type(v, o);
    else if (strcmp(name, "--icon-mask") == 0)
        ok = apply_icon_mask(v, o);
    else
        return -1;
    if (!ok) tool_error("bad value '%s' for %s", v, name);
    return ok;
}

/* An image step's option: 1 applied (or not a step option: *known 0),
   0 misused (reported). */
static int apply_step_option(int argc, char **argv, int *i, ConvertOptions *o, int *known) {
    int family = 0;
    const StepOption *opt = step_option_find(argv[*i], &family);
    *known = opt != NULL;
    if (!opt) return 1;
    const char *value = NULL;
    if (opt->takesValue) {
        if (*i + 1 >= argc) return tool_error("option %s needs a value", argv[*i]), 0;
        value = argv[++*i];
    }
    int before = o->steps.count;
    if (opt->add(&o->steps, o->steps.familyState[family], value)) return 1;
    if (before < LC_MAX_STEPS) { /* a full list has been reported */
        if (value) tool_error("bad value '%s' for %s", value, opt->name);
        else tool_error("%s cannot be used here", opt->name);
    }
    return 0;
}

/* Explicit options win over --set of the same settings. */
static void apply_to_settings(const ConvertOptions *o) {
    if (o->cut >= 0) settings_write(SET_SAVE_COLORCUT, o->cut);
    if (o->dither == 0) settings_write(SET_SAVE_DITHER, 0);
    if (o->dither > 0) {
        settings_write(SET_SAVE_DITHER, 1);
        settings_write(SET_DITHER_TYPE, o->dither - 1);
    }
    set_answer(o->answerYes);
    ico_set_save_preset(o->iconType, o->iconMask);
}

int parse_convert_options(int argc, char **argv, int first, ConvertOptions *o, const char **positional,
                          int maxPositional, int *positionalCount) {
    memset(o, 0, sizeof *o);
    o->colorChoice = -1;
    o->cut = -1;
    o->dither = -1;
    o->iconMask = -1;
    *positionalCount = 0;
    for (int i = first; i < argc; i++) {
        const char *a = argv[i];
        if (strncmp(a, "--", 2) != 0) {
            if (*positionalCount >= maxPositional) return tool_error("unexpected argument '%s'", a), 0;
            positional[(*positionalCount)++] = a;
            continue;
        }
        int flag = apply_flag(a, o);
        if (flag < 0) return 0;
        if (flag > 0) continue;
        int known = 0;
        if (!apply_step_option(argc, argv, &i, o, &known)) return 0;
        if (known) continue;
        if (!takes_value(a)) return tool_error("unknown option '%s'", a), 0;
        if (i + 1 >= argc) return tool_error("option %s needs a value", a), 0;
        if (!apply_valued(a, argv[++i], o)) return 0;
    }
    apply_to_settings(o);
    return 1;
}
