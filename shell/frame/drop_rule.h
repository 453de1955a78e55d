/* A drop of files on the frame: each file is opened in turn; when no
   more windows can be made, or after too many files that would not open,
   the rest of the drop is skipped (and said so once), so that a drop of
   thousands of names cannot bury the user in messages. */
#ifndef LC_DROP_RULE_H
#define LC_DROP_RULE_H

#ifdef __cplusplus
extern "C" {
#endif

#define DROP_MAX_FAILURES 5
#define DROP_NAME_MAX 256 /* names of up to 255 characters */

enum DropOutcome { DROP_OPENED, DROP_UNSUPPORTED, DROP_NOT_LOADED, DROP_NO_WINDOW };

typedef struct DropRun {
    unsigned total, done, failures;
    int stopped;
} DropRun;

void drop_begin(DropRun *run, unsigned total);
/* Notes one file's outcome; 0 when the rest of the drop is skipped. */
int drop_note(DropRun *run, int outcome);
/* Files of the drop that were never tried. */
unsigned drop_skipped(const DropRun *run);

#ifdef __cplusplus
}
#endif

#endif
