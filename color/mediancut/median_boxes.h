/* The box work of the median cut over a compacted set of colour records:
   bounds and axis, the priority list, the counting sort and the split. */
#ifndef LC_MEDIAN_BOXES_H
#define LC_MEDIAN_BOXES_H

#include <stdint.h>

#include "platform.h"

#ifdef __cplusplus
extern "C" {
#endif

#define MEDIAN_KEYS 32768

/* key = red << 10 | green << 5 | blue, each 5 bits. */
static inline int median_key(int red, int green, int blue) {
    return ((red & 0xF8) << 7) | ((green & 0xF8) << 2) | (blue >> 3);
}

typedef struct ColorRecord {
    DWORD key;
    DWORD count;
    struct ColorBox *box;
    DWORD index; /* palette index; its low byte is written */
    struct ColorRecord *link;
} ColorRecord;

typedef struct ColorBox {
    struct ColorBox *next, *prev;
    int extent;
    int axis; /* 0 red, 1 green, 2 blue */
    DWORD start, count; /* run inside the record order */
    uint64_t pixels;
    int maxRed, minRed, maxGreen, minGreen, maxBlue, minBlue;
    int meanRed, meanGreen, meanBlue;
    int index;
} ColorBox;

typedef struct BoxList {
    ColorBox *head, *tail;
    int boxes;
} BoxList;

/* Bounds, axis, extent and pixel count of box over order[start..+count). */
void median_box_measure(ColorBox *box, ColorRecord *const *order);

/* Inserts box by extent (largest first) with the tie rules. */
void median_list_insert(BoxList *list, ColorBox *box);
/* Takes the head off; null for an empty list. */
ColorBox *median_list_pop(BoxList *list);

/* Sorts the box's run by its axis value with a 32-bucket counting sort
   whose buckets take records at the front (equal values reverse). */
void median_box_sort(ColorBox *box, ColorRecord **order);

/* Splits a sorted box whose extent is not 0: the records from the first
   one that takes the running sum past half (with a sum of at least 1
   before it) go to fresh, which is measured with box. */
void median_box_split(ColorBox *box, ColorBox *fresh, ColorRecord *const *order);

/* Means of the box (5-bit, integer division). */
void median_box_means(ColorBox *box, ColorRecord *const *order);

/* Splits until wanted boxes exist or none can be split; the boxes are
   allocated with malloc and stay on the list (free with median_list_free).
   0 when a box could not be allocated (the list is still complete). */
int median_split_all(BoxList *list, ColorRecord **order, int wanted);
void median_list_free(BoxList *list);

#ifdef __cplusplus
}
#endif

#endif
