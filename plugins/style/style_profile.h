/* The switch file of the trace: an integer value of a section, and writing
   one (the section is made when missing). */
#ifndef STYLE_PROFILE_H
#define STYLE_PROFILE_H

#ifdef __cplusplus
extern "C" {
#endif

int sty_profile_int(const char *section, const char *key, int fallback, const char *file);
void sty_profile_write(const char *section, const char *key, int value, const char *file);

#ifdef __cplusplus
}
#endif

#endif
