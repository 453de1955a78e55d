#include "color/mediancut/median_boxes.h"

#include <stdlib.h>
#include <string.h>

static inline int red_of(DWORD key) { return (int)(key >> 10) & 31; }
static inline int green_of(DWORD key) { return (int)(key >> 5) & 31; }
static inline int blue_of(DWORD key) { return (int)key & 31; }

static inline int axis_value(DWORD key, int axis) {
    return axis == 0 ? red_of(key) : axis == 1 ? green_of(key) : blue_of(key);
}

extern "C" void median_box_measure(ColorBox *box, ColorRecord *const *order) {
    int minR = 31, maxR = 0, minG = 31, maxG = 0, minB = 31, maxB = 0;
    uint64_t pixels = 0;
    for (DWORD i = 0; i < box->count; i++) {
        const ColorRecord *r = order[box->start + i];
        int red = red_of(r->key), green = green_of(r->key), blue = blue_of(r->key);
        if (red < minR) minR = red;
        if (red > maxR) maxR = red;
        if (green < minG) minG = green;
        if (green > maxG) maxG = green;
        if (blue < minB) minB = blue;
        if (blue > maxB) maxB = blue;
        pixels += r->count;
    }
    box->minRed = minR, box->maxRed = maxR;
    box->minGreen = minG, box->maxGreen = maxG;
    box->minBlue = minB, box->maxBlue = maxB;
    box->pixels = pixels;
    int dr = maxR - minR, dg = maxG - minG, db = maxB - minB;
    /* ties go to blue before green before red */
    if (dr <= dg)
        box->axis = dg <= db ? 2 : 1;
    else
        box->axis = dr <= db ? 2 : 0;
    box->extent = box->axis == 0 ? dr : box->axis == 1 ? dg : db;
}

static void link_before(BoxList *list, ColorBox *box, ColorBox *at) {
    box->next = at;
    box->prev = at->prev;
    if (at->prev)
        at->prev->next = box;
    else
        list->head = box;
    at->prev = box;
}

static void link_at_end(BoxList *list, ColorBox *box) {
    box->next = NULL;
    box->prev = list->tail;
    if (list->tail)
        list->tail->next = box;
    else
        list->head = box;
    list->tail = box;
}

extern "C" void median_list_insert(BoxList *list, ColorBox *box) {
    list->boxes++;
    if (!list->head) {
        box->next = box->prev = NULL;
        list->head = list->tail = box;
        return;
    }
    if (list->head == list->tail) {
        if (list->head->extent > box->extent)
            link_at_end(list, box);
        else
            link_before(list, box, list->head);
        return;
    }
    /* the last box is never tested by the rule, only against at the end */
    for (ColorBox *x = list->head; x != list->tail; x = x->next) {
        if (x->extent < box->extent || (x->extent == box->extent && x->pixels <= box->pixels)) {
            link_before(list, box, x);
            return;
        }
    }
    if (box->extent < list->tail->extent)
        link_at_end(list, box);
    else
        link_before(list, box, list->tail);
}

extern "C" ColorBox *median_list_pop(BoxList *list) {
    ColorBox *box = list->head;
    if (!box) return NULL;
    list->head = box->next;
    if (list->head)
        list->head->prev = NULL;
    else
        list->tail = NULL;
    box->next = box->prev = NULL;
    list->boxes--;
    return box;
}

extern "C" void median_box_sort(ColorBox *box, ColorRecord **order) {
    ColorRecord *bucket[32];
    memset(bucket, 0, sizeof bucket);
    ColorRecord **run = order + box->start;
    for (DWORD i = 0; i < box->count; i++) {
        ColorRecord *r = run[i];
        int v = axis_value(r->key, box->axis);
        r->link = bucket[v];
        bucket[v] = r;
    }
    DWORD at = 0;
    for (int v = 0; v < 32; v++)
        for (ColorRecord *r = bucket[v]; r; r = r->link) run[at++] = r;
}

extern "C" void median_box_split(ColorBox *box, ColorBox *fresh, ColorRecord *const *order) {
    uint64_t half = box->pixels / 2, sum = 0;
    DWORD i = 0;
    for (; i < box->count; i++) {
        DWORD count = order[box->start + i]->count;
        if (sum + count > half && sum >= 1) break;
        sum += count;
    }
    /* a box with extent > 0 has two records or more, so i lies inside */
    memset(fresh, 0, sizeof *fresh);
    fresh->start = box->start + i;
    fresh->count = box->count - i;
    box->count = i;
    median_box_measure(box, order);
    median_box_measure(fresh, order);
}

extern "C" void median_box_means(ColorBox *box, ColorRecord *const *order) {
    uint64_t red = 0, green = 0, blue = 0, total = 0;
    for (DWORD i = 0; i < box->count; i++) {
        const ColorRecord *r = order[box->start + i];
        red += (uint64_t)red_of(r->key) * r->count;
        green += (uint64_t)green_of(r->key) * r->count;
        blue += (uint64_t)blue_of(r->key) * r->count;
        total += r->count;
    }
    if (!total) total = 1;
    box->meanRed = (int)(red / total);
    box->meanGreen = (int)(green / total);
    box->meanBlue = (int)(blue / total);
}

extern "C" int median_split_all(BoxList *list, ColorRecord **order, int wanted) {
    while (list->boxes < wanted) {
        ColorBox *box = median_list_pop(list);
        median_box_sort(box, order);
        if (box->extent == 0) {
            median_list_insert(list, box);
            return 1;
        }
        ColorBox *fresh = (ColorBox *)malloc(sizeof(ColorBox));
        if (!fresh) {
            median_list_insert(list, box);
            return 0;
        }
        median_box_split(box, fresh, order);
        median_list_insert(list, box);
        median_list_insert(list, fresh);
    }
    return 1;
}

extern "C" void median_list_free(BoxList *list) {
    for (ColorBox *b = list->head, *next; b; b = next) {
        next = b->next;
        free(b);
    }
    memset(list, 0, sizeof *list);
}
