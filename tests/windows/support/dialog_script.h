// Drives modal dialogs and message boxes while they run: a thread hook
// notices each dialog that becomes active for the first time and, once it
// has settled, hands it to the next step of the script.  Each dialog gets
// one step, which does all it needs with it.
#ifndef LC_TEST_DIALOG_SCRIPT_H
#define LC_TEST_DIALOG_SCRIPT_H

#include <windows.h>

#include <functional>
#include <string>

typedef std::function<void(HWND dialog)> DialogStep;

// Installs the hook with a list of steps, removed again by ~DialogScript.
// Steps run in order, one per dialog activation.
class DialogScript {
public:
  DialogScript();
  ~DialogScript();
  DialogScript &then(DialogStep step);
  // Runs for every dialog that comes when no step is left (a plug-in's
  // options sheet, a confirmation).
  DialogScript &otherwise(DialogStep step);
  int steps_run() const;
  int steps_left() const;
};

// Helpers for steps.
std::string window_text(HWND w);
HWND find_descendant(HWND parent, int id);         // by control id, at any depth
HWND find_by_text(HWND parent, const char *text);  // a control whose text matches
void click(HWND dialog, int id);                   // a button, by id, at any depth
void press_ok(HWND dialog);                        // IDOK, posted
void choose_type(HWND file_dialog, int line);      // 1-based line of the type list
void set_file_name(HWND file_dialog, const char *name);

#endif
