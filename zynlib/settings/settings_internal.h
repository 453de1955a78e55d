/* Pieces of the registry settings store that need no registry: the
   library-wide company name and name format flag, the rewriting of value
   names, the key paths and the text forms of the value kinds.  The Windows
   units feed the registry through them; native tests call them directly. */
#ifndef ZYN_SETTINGS_INTERNAL_H
#define ZYN_SETTINGS_INTERNAL_H

#include "zynlib.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Text of a value as read: at most this many bytes with the closing zero,
   so a text of 64 characters or more cannot be read. */
#define ZYN_REG_READ_MAX 64
/* A name handed back by the entries listing: up to 64 characters. */
#define ZYN_REG_ENTRY_MAX 64
/* Longest company name kept. */
#define ZYN_REG_COMPANY_MAX 255
/* Room for every key path the store forms. */
#define ZYN_REG_PATH_MAX 1024

/* Company name, initially "OrvantaImaging"; a longer name is cut to
   ZYN_REG_COMPANY_MAX characters, a null one leaves the name alone. */
void zyn_reg_set_company(const char *company);
const char *zyn_reg_company(void);

/* Name format flag, initially on. */
void zyn_reg_set_name_format(BOOL on);
BOOL zyn_reg_name_format(void);

/* Rewrites a value name in place: each underscore becomes a space, and a
   lowercase letter b..y at the start or after an underscore is raised. */
void zyn_reg_rewrite_name(char *name);
/* The rewriting, when the format flag is on (a null name is left alone). */
void zyn_reg_apply_name_format(char *name);

/* "<root>\company\part..." from the current company and up to three
   parts (null parts end the path); 0 when it does not fit in size or a
   part is empty. */
int zyn_reg_key_path(char *out, size_t size, const char *root, const char *product, const char *version,
                     const char *section);

/* Decimal conversion as the store reads numbers: leading blanks, an
   optional sign, then digits up to the first other character, kept modulo
   2^32 (so "4294967295" and "-1" give the same bits). */
DWORD zyn_reg_parse_decimal(const char *text);
/* Hexadecimal digits 0-9, a-f, A-F, most significant first, up to the
   first other character; modulo 2^32. */
DWORD zyn_reg_parse_hex(const char *text);

/* Text forms written by the set operations; out holds at least
   ZYN_REG_NUMBER_TEXT bytes. */
#define ZYN_REG_NUMBER_TEXT 16
void zyn_reg_format_dword(char *out, DWORD value); /* "%lu" */
void zyn_reg_format_long(char *out, LONG value);   /* "%ld" */
void zyn_reg_format_int(char *out, int value);     /* "%d" */
void zyn_reg_format_lhex(char *out, DWORD value);  /* "%lx" */
void zyn_reg_format_sint(char *out, int value);    /* low 16 bits, signed */
void zyn_reg_format_word(char *out, UINT value);   /* low 16 bits */
void zyn_reg_format_bool(char *out, UINT value);   /* "%u" */

#ifdef __cplusplus
}
#endif

#endif
