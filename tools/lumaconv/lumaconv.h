/* lumaconv: the engine's conversion facility on the command line. */
#ifndef LUMACONV_H
#define LUMACONV_H

#include <stdio.h>

#include "platform.h"

/* Exit codes. */
#define EXIT_OK 0
#define EXIT_FAILED 1
#define EXIT_USAGE 2

/* Image steps: the options that change the loaded image, applied in the
   order given, after loading and before the depth conversion for saving.
   Each family of steps (scaling, the image operations, the filters) keeps
   its options in a table of its own; steps.cpp lists the families. */
#define LC_MAX_STEPS 64
#define LC_STEP_ARGS 16
#define LC_FAMILY_STATE 32

typedef struct ImageStep {
    /* Replaces *dib by the changed image and returns 1, or reports the
       problem and returns 0 (the image is then left as it was). */
    int (*apply)(const struct ImageStep *step, HGLOBAL *dib);
    long arg[LC_STEP_ARGS];
    const char *text; /* the option's value as given, or null */
} ImageStep;

typedef struct StepList {
    ImageStep step[LC_MAX_STEPS];
    int count;
    /* Scratch of each family for options that modify the steps around
       them (a quality, a colour), indexed like the family table. */
    long familyState[8][LC_FAMILY_STATE];
} StepList;

/* One option of a family.  add checks the value and appends (or changes)
   steps; 0 for a bad value, which the caller reports naming the option.
   state is the family's scratch in the list. */
typedef struct StepOption {
    const char *name; /* "--rotate" */
    int takesValue;
    int (*add)(StepList *list, long *state, const char *value);
} StepOption;

typedef struct StepFamily {
    const StepOption *options;
    int count;
    const char *help; /* lines for lumaconv --help, or null */
} StepFamily;

/* The next free step of the list, or null (reported) when it is full. */
ImageStep *step_append(StepList *list);
/* Finds an option of any family; null when none has the name. */
const StepOption *step_option_find(const char *name, int *family);
/* Runs every step on *dib in order; 0 after the first failure. */
int steps_apply(const StepList *list, HGLOBAL *dib);
void steps_print_help(FILE *to);

/* The options of convert and batch. */
typedef struct ConvertOptions {
    int depth;        /* 0: what the save-options panel settles on */
    int colorChoice;  /* -1 the image's own, 0 gray, 1 color */
    int compress;
    int cut;          /* -1 the setting, 0 flat, 1 optimized */
    int dither;       /* -1 the setting, 0 none, else 1 + dither_type */
    int answerYes;
    const char *toExtension; /* batch only */
    StepList steps;          /* --scale and the other image steps */
    unsigned iconType;       /* --icon-type code, 0 the image's own */
    int iconMask;            /* --icon-mask 0 or 1, -1 on for 32-bit images */
} ConvertOptions;

/* Parses argv[first..argc) into the options and the positional arguments
   (at most maxPositional); prints the problem and returns 0 on misuse. */
int parse_convert_options(int argc, char **argv, int first, ConvertOptions *options,
                          const char **positional, int maxPositional, int *positionalCount);

/* Engine start: built-in formats, default settings, the message method. */
int engine_start(void);
void engine_stop(void);
void set_answer(int yes);

/* Converts one file as the batch facility does; 1 on success (failures are
   reported as they happen). */
/* The step families (steps.cpp lists them in this order). */
extern const StepFamily scale_steps;
extern const StepFamily image_steps; /* image_steps.cpp: the image operations */
extern const StepFamily style_steps; /* style_steps.cpp: the stylize filters */

int convert_file(const char *in, const char *out, const ConvertOptions *options);

int cmd_formats(int argc, char **argv);
int cmd_info(int argc, char **argv);
int cmd_convert(int argc, char **argv);
int cmd_batch(int argc, char **argv);
int cmd_filters(int argc, char **argv); /* style_steps.cpp */
void print_help(FILE *to);

/* Prints "lumaconv: " and the text to stderr. */
void tool_error(const char *format, ...);

#endif
