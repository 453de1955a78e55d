/* The image steps of convert and batch: the families of options, looked
   up by name, and the run of a parsed list over one image. */
#include <string.h>

#include "lumaconv.h"

/* Each family's scratch is the row of its position here. */
static const StepFamily *const FAMILIES[] = {
    &scale_steps,
#ifdef LC_HAVE_IMAGE_OPS
    &image_steps,
#endif
#ifdef LC_HAVE_STYLE
    &style_steps,
#endif
};
static const int FAMILY_COUNT = (int)(sizeof FAMILIES / sizeof FAMILIES[0]);

ImageStep *step_append(StepList *list) {
    if (list->count >= LC_MAX_STEPS) {
        tool_error("too many image steps (at most %d)", LC_MAX_STEPS);
        return NULL;
    }
    ImageStep *s = &list->step[list->count++];
    memset(s, 0, sizeof *s);
    return s;
}

const StepOption *step_option_find(const char *name, int *family) {
    for (int f = 0; f < FAMILY_COUNT; f++)
        for (int i = 0; i < FAMILIES[f]->count; i++)
            if (strcmp(FAMILIES[f]->options[i].name, name) == 0) {
                *family = f;
                return &FAMILIES[f]->options[i];
            }
    return NULL;
}

int steps_apply(const StepList *list, HGLOBAL *dib) {
    for (int i = 0; i < list->count; i++)
        if (!list->step[i].apply(&list->step[i], dib)) return 0;
    return 1;
}

void steps_print_help(FILE *to) {
    for (int f = 0; f < FAMILY_COUNT; f++)
        if (FAMILIES[f]->help) fputs(FAMILIES[f]->help, to);
}
