#include "dialog_script.h"

#include <commdlg.h>
#include <dlgs.h>

#include <deque>
#include <set>

namespace {

struct State {
  HHOOK hook = NULL;
  std::deque<DialogStep> steps;
  DialogStep fallback;
  int run = 0;
  HWND pending = NULL;
  std::set<HWND> seen; // a dialog gets one step, even when activated again
};
State g;

void CALLBACK run_step(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(NULL, id);
  HWND dialog = g.pending;
  g.pending = NULL;
  if (!dialog || !IsWindow(dialog)) return;
  if (g.steps.empty()) {
    if (g.fallback) g.fallback(dialog);
    return;
  }
  DialogStep step = g.steps.front();
  g.steps.pop_front();
  g.run++;
  step(dialog);
}

bool is_dialog(HWND w) {
  char cls[16] = "";
  GetClassNameA(w, cls, sizeof cls);
  return lstrcmpA(cls, "#32770") == 0 && !(GetWindowLongA(w, GWL_STYLE) & WS_CHILD);
}

LRESULT CALLBACK cbt(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE && is_dialog((HWND)wp) && (!g.steps.empty() || g.fallback) && !g.seen.count((HWND)wp)) {
    g.seen.insert((HWND)wp);
    g.pending = (HWND)wp;
    SetTimer(NULL, 0, 120, run_step); // after the dialog's own initialisation
  }
  return CallNextHookEx(g.hook, code, wp, lp);
}

struct Search {
  int id;
  const char *text;
  HWND found;
};

BOOL CALLBACK search_child(HWND w, LPARAM lp) {
  Search *s = (Search *)lp;
  if (s->text ? window_text(w) == s->text : GetDlgCtrlID(w) == s->id) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

} // namespace

DialogScript::DialogScript() {
  g = State();
  g.hook = SetWindowsHookExA(WH_CBT, cbt, NULL, GetCurrentThreadId());
}

DialogScript::~DialogScript() {
  if (g.hook) UnhookWindowsHookEx(g.hook);
  g = State();
}

DialogScript &DialogScript::then(DialogStep step) {
  g.steps.push_back(step);
  return *this;
}

DialogScript &DialogScript::otherwise(DialogStep step) {
  g.fallback = step;
  return *this;
}

int DialogScript::steps_run() const { return g.run; }
int DialogScript::steps_left() const { return (int)g.steps.size(); }

std::string window_text(HWND w) {
  char text[512] = "";
  GetWindowTextA(w, text, sizeof text);
  return text;
}

HWND find_descendant(HWND parent, int id) {
  Search s = {id, NULL, NULL};
  EnumChildWindows(parent, search_child, (LPARAM)&s);
  return s.found;
}

HWND find_by_text(HWND parent, const char *text) {
  Search s = {0, text, NULL};
  EnumChildWindows(parent, search_child, (LPARAM)&s);
  return s.found;
}

void click(HWND dialog, int id) {
  HWND b = find_descendant(dialog, id);
  if (b) SendMessageA(GetParent(b), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)b);
}

void press_ok(HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDOK)); }

void choose_type(HWND dialog, int line) {
  HWND types = GetDlgItem(dialog, cmb1);
  SendMessageA(types, CB_SETCURSEL, (WPARAM)(line - 1), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), (LPARAM)types);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), (LPARAM)types);
}

void set_file_name(HWND dialog, const char *name) {
  HWND field = GetDlgItem(dialog, cmb13);
  if (!field) field = GetDlgItem(dialog, edt1);
  SetWindowTextA(field, name);
}
