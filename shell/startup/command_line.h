/* The command line of lumacast and what it asks for at start. */
#ifndef LC_COMMAND_LINE_H
#define LC_COMMAND_LINE_H

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

#define CL_LOAD 0x1
#define CL_BATCH 0x2
#define CL_NOLOGO 0x8

typedef struct CommandLine {
    int flags;
    const char *file; /* inside the parsed text; null when none */
} CommandLine;

/* Upper-cases text in place and finds the flags and the file name: the
   rest of the line after the leading "/" words, blanks included (a pair of
   quotes around it is taken off, trailing blanks are dropped).  A null
   text gives no flags and no file. */
void command_line_parse(char *text, CommandLine *out);

/* The command posted after start-up: 257 (Open), 260 (Batch) or 0.  The
   startup setting decides only when neither flag is given. */
UINT startup_command(int flags, LONG startupSetting);

/* Milliseconds the logo stays up: none when a file is to be opened. */
DWORD logo_delay(const CommandLine *cl);

#ifdef __cplusplus
}
#endif

#endif
