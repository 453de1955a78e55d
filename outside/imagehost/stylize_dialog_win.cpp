// The "Stylize" dialog: the 39 filters as style.dll names them, the
// strength, the chosen filter's two sliders under its own labels (grayed
// when it has no such slider) and its colour (shown only when the filter
// takes one).  Each slider has a trackbar and an exact value kept in step.
#include "imagehost_internal.h"

#include <commctrl.h>
#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include "stylize.h"
#include "stylize_res.h"
#include "stylize_strings.h"

namespace {

struct Row {
  int base, high;
};
const Row kAmount = {IDC_STZ_AMOUNT, STZ_FULL_AMOUNT};
const Row kP1 = {IDC_STZ_P1, STZ_PARAM_MAX};
const Row kP2 = {IDC_STZ_P2, STZ_PARAM_MAX};

// Mnemonics the fixed controls use: Filter, Strength, Choose, Defaults.
const char kFixedKeys[] = "fscd";

struct Editing {
  HMODULE style;
  StylizeChoice *result;
  StylizeChoice c;
  BYTE p1[STZ_FILTER_COUNT], p2[STZ_FILTER_COUNT]; // per filter, while the dialog is open
  HBRUSH swatch;
  BOOL syncing; // a value is being written to both controls of a row
};

// The colour dialog's custom colours, kept for the run.
COLORREF g_custom[16];

HWND part(HWND d, const Row &r, int which) { return GetDlgItem(d, r.base + which); }

int clamp(int v, int high) { return v < 0 ? 0 : v > high ? high : v; }

void row_init(HWND d, const Row &r) {
  HWND track = part(d, r, STZ_ROW_TRACK);
  SendMessageA(track, TBM_SETRANGEMIN, FALSE, 0);
  SendMessageA(track, TBM_SETRANGEMAX, TRUE, r.high);
  SendMessageA(track, TBM_SETPAGESIZE, 0, (r.high + 1) / 16);
  SendMessageA(track, TBM_SETLINESIZE, 0, r.high > 255 ? 64 : 1);
  SendMessageA(part(d, r, STZ_ROW_SPIN), UDM_SETRANGE32, 0, r.high);
  SendMessageA(part(d, r, STZ_ROW_EDIT), EM_LIMITTEXT, r.high > 255 ? 5 : 3, 0);
}

void row_set(Editing *e, HWND d, const Row &r, int v) {
  e->syncing = TRUE;
  SendMessageA(part(d, r, STZ_ROW_TRACK), TBM_SETPOS, TRUE, clamp(v, r.high));
  SetDlgItemInt(d, r.base + STZ_ROW_EDIT, (UINT)clamp(v, r.high), FALSE);
  e->syncing = FALSE;
}

// The exact value; an empty field counts as 0.
int row_value(HWND d, const Row &r) {
  BOOL ok = FALSE;
  UINT v = GetDlgItemInt(d, r.base + STZ_ROW_EDIT, &ok, FALSE);
  return !ok ? 0 : v > (UINT)r.high ? r.high : (int)v;
}

void row_enable(HWND d, const Row &r, BOOL on) {
  for (int which = STZ_ROW_LABEL; which <= STZ_ROW_SPIN; which++) EnableWindow(part(d, r, which), on);
}

// "Angle" becomes "&Angle:", its mnemonic on the first letter that no
// other control of the dialog uses.
void label_with_key(const char *text, char *used, char *out, size_t size) {
  size_t at = strlen(text), n = 0;
  for (size_t i = 0; text[i]; i++) {
    char key = (char)tolower((unsigned char)text[i]);
    if (isalpha((unsigned char)key) && !strchr(used, key)) {
      at = i;
      size_t u = strlen(used);
      used[u] = key;
      used[u + 1] = '\0';
      break;
    }
  }
  for (size_t i = 0; text[i] && n + 3 < size; i++) {
    if (i == at) out[n++] = '&';
    out[n++] = text[i];
  }
  out[n++] = ':';
  out[n] = '\0';
}

void show_slider(Editing *e, HWND d, const Row &r, UINT label, UINT none, char *used) {
  char text[64], shown[72];
  if (label && LoadStringA(e->style, label, text, sizeof text) > 0) {
    label_with_key(text, used, shown, sizeof shown);
  } else {
    stylize_text(none, shown, sizeof shown);
    label = 0;
  }
  SetDlgItemTextA(d, r.base + STZ_ROW_LABEL, shown);
  row_enable(d, r, label != 0);
}

void show_color(Editing *e, HWND d, BOOL shown) {
  static const int ids[] = {IDC_STZ_COLOR_LABEL, IDC_STZ_COLOR_SWATCH, IDC_STZ_COLOR};
  for (int id : ids) ShowWindow(GetDlgItem(d, id), shown ? SW_SHOW : SW_HIDE);
  if (e->swatch) DeleteObject(e->swatch);
  e->swatch = CreateSolidBrush(e->c.color);
  InvalidateRect(GetDlgItem(d, IDC_STZ_COLOR_SWATCH), NULL, TRUE);
}

void keep_sliders(Editing *e, HWND d) {
  e->p1[e->c.filter] = (BYTE)row_value(d, kP1);
  e->p2[e->c.filter] = (BYTE)row_value(d, kP2);
}

void show_filter(Editing *e, HWND d, int filter) {
  const StylizeFilter *f = stylize_filter(filter);
  if (!f) return;
  e->c.filter = filter;
  char name[64], used[16];
  stylize_filter_name(e->style, filter, name, sizeof name);
  SetDlgItemTextA(d, IDC_STZ_GROUP, name);
  lstrcpyA(used, kFixedKeys);
  show_slider(e, d, kP1, f->label1, IDS_STZ_PARAM1, used);
  show_slider(e, d, kP2, f->label2, IDS_STZ_PARAM2, used);
  row_set(e, d, kP1, e->p1[filter]);
  row_set(e, d, kP2, e->p2[filter]);
  show_color(e, d, f->color);
}

BOOL on_init(HWND d, Editing *e) {
  SetWindowLongPtrA(d, DWLP_USER, (LONG_PTR)e);
  for (int n = 0; n < STZ_FILTER_COUNT; n++) {
    const StylizeFilter *f = stylize_filter(n);
    e->p1[n] = f->default1;
    e->p2[n] = f->default2;
  }
  e->p1[e->c.filter] = (BYTE)e->c.p1;
  e->p2[e->c.filter] = (BYTE)e->c.p2;
  HWND list = GetDlgItem(d, IDC_STZ_LIST);
  for (int n = 0; n < STZ_FILTER_COUNT; n++) {
    char name[64];
    stylize_filter_name(e->style, n, name, sizeof name);
    SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)name);
  }
  SendMessageA(list, LB_SETCURSEL, (WPARAM)e->c.filter, 0);
  const Row *rows[] = {&kAmount, &kP1, &kP2};
  for (const Row *r : rows) row_init(d, *r);
  row_set(e, d, kAmount, e->c.amount);
  show_filter(e, d, e->c.filter);
  SetFocus(list);
  return FALSE; // the focus is set
}

void choose_color(Editing *e, HWND d) {
  CHOOSECOLORA cc = {};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = d;
  cc.rgbResult = e->c.color;
  cc.lpCustColors = g_custom;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN;
  if (!ChooseColorA(&cc)) return;
  e->c.color = cc.rgbResult & 0xFFFFFFu;
  show_color(e, d, TRUE);
}

void defaults(Editing *e, HWND d) {
  const StylizeFilter *f = stylize_filter(e->c.filter);
  row_set(e, d, kAmount, STZ_FULL_AMOUNT);
  row_set(e, d, kP1, f->default1);
  row_set(e, d, kP2, f->default2);
}

void finish(Editing *e, HWND d) {
  keep_sliders(e, d);
  e->c.amount = row_value(d, kAmount);
  e->c.p1 = e->p1[e->c.filter];
  e->c.p2 = e->p2[e->c.filter];
  *e->result = e->c;
  EndDialog(d, IDOK);
}

const Row *row_of(int id) {
  const Row *rows[] = {&kAmount, &kP1, &kP2};
  for (const Row *r : rows)
    if (id >= r->base && id <= r->base + STZ_ROW_SPIN) return r;
  return NULL;
}

void on_command(HWND d, Editing *e, int id, int code) {
  const Row *r = row_of(id);
  if (r && id == r->base + STZ_ROW_EDIT) {
    if (code == EN_CHANGE && !e->syncing)
      SendMessageA(part(d, *r, STZ_ROW_TRACK), TBM_SETPOS, TRUE, row_value(d, *r));
    else if (code == EN_KILLFOCUS)
      row_set(e, d, *r, row_value(d, *r));
    return;
  }
  switch (id) {
    case IDC_STZ_LIST:
      if (code == LBN_SELCHANGE) {
        int n = (int)SendDlgItemMessageA(d, IDC_STZ_LIST, LB_GETCURSEL, 0, 0);
        if (n >= 0 && n != e->c.filter) {
          keep_sliders(e, d);
          show_filter(e, d, n);
        }
      } else if (code == LBN_DBLCLK) {
        finish(e, d);
      }
      break;
    case IDC_STZ_COLOR: choose_color(e, d); break;
    case IDC_STZ_DEFAULTS: defaults(e, d); break;
    case IDOK: finish(e, d); break;
    case IDCANCEL: EndDialog(d, IDCANCEL); break;
  }
}

INT_PTR CALLBACK dialog_proc(HWND d, UINT msg, WPARAM wp, LPARAM lp) {
  Editing *e = (Editing *)GetWindowLongPtrA(d, DWLP_USER);
  switch (msg) {
    case WM_INITDIALOG: return on_init(d, (Editing *)lp);
    case WM_COMMAND:
      if (e) on_command(d, e, LOWORD(wp), HIWORD(wp));
      return TRUE;
    case WM_HSCROLL: {
      const Row *r = e && lp ? row_of(GetDlgCtrlID((HWND)lp)) : NULL;
      if (r) row_set(e, d, *r, (int)SendMessageA((HWND)lp, TBM_GETPOS, 0, 0));
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      if (e && e->swatch && (HWND)lp == GetDlgItem(d, IDC_STZ_COLOR_SWATCH)) return (INT_PTR)e->swatch;
      return FALSE;
    case WM_DESTROY:
      if (e && e->swatch) DeleteObject(e->swatch);
      if (e) e->swatch = NULL;
      return FALSE;
  }
  return FALSE;
}

} // namespace

void stylize_text(UINT id, char *out, int size) {
  if (LoadStringA(g_ih.self, id, out, size) <= 0) snprintf(out, (size_t)size, "Internal error (id = %u)", id);
}

void stylize_filter_name(HMODULE style, int number, char *out, int size) {
  if (LoadStringA(style, stylize_name_id(number), out, size) > 0) return;
  char format[32];
  stylize_text(IDS_STZ_UNNAMED, format, sizeof format);
  snprintf(out, (size_t)size, format, number);
}

BOOL stylize_dialog_run(HWND owner, HMODULE style, StylizeChoice *c) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&icc);
  Editing e = {};
  e.style = style;
  e.result = c;
  e.c = *c;
  stylize_choice_clamp(&e.c);
  return DialogBoxParamA(g_ih.self, MAKEINTRESOURCEA(IDD_STZ_FILTER), owner, dialog_proc, (LPARAM)&e) == IDOK;
}
