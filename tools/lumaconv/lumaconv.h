/* lumaconv: the engine's conversion facility on the command line. */
#ifndef LUMACONV_H
#define LUMACONV_H

#include <stdio.h>

#include "platform.h"

/* Exit codes. */
#define EXIT_OK 0
#define EXIT_FAILED 1
#define EXIT_USAGE 2

/* The options of convert and batch. */
typedef struct ConvertOptions {
    int depth;        /* 0: what the save-options panel settles on */
    int colorChoice;  /* -1 the image's own, 0 gray, 1 color */
    int compress;
    int cut;          /* -1 the setting, 0 flat, 1 optimized */
    int dither;       /* -1 the setting, 0 none, else 1 + dither_type */
    int answerYes;
    const char *toExtension; /* batch only */
    const char *scale;       /* --scale, or null */
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
/* --scale: 1 for a well-formed value; apply_scale replaces *dib by the
   scaled image (1) or reports (0). */
int scale_text_valid(const char *text);
int apply_scale(const char *text, HGLOBAL *dib);

int convert_file(const char *in, const char *out, const ConvertOptions *options);

int cmd_formats(int argc, char **argv);
int cmd_info(int argc, char **argv);
int cmd_convert(int argc, char **argv);
int cmd_batch(int argc, char **argv);
void print_help(FILE *to);

/* Prints "lumaconv: " and the text to stderr. */
void tool_error(const char *format, ...);

#endif
