/* The formats that the next load and the next save use. */
#include "core/catalogue.h"

static int currentLoad = -1;
static int currentSave = -1;

extern "C" int catalogue_current_load(void) { return currentLoad; }
extern "C" void catalogue_set_current_load(int index) { currentLoad = index; }
extern "C" int catalogue_current_save(void) { return currentSave; }
extern "C" void catalogue_set_current_save(int index) { currentSave = index; }

/* A stored index is only trusted when it still names an entry that can do
   the job: catalogues differ between runs when plug-ins come and go. */
extern "C" void catalogue_restore_current(LONG loadProc, LONG saveProc) {
    int dib = catalogue_dib_index();
    currentLoad = (loadProc >= 0 && catalogue_has_loader((int)loadProc)) ? (int)loadProc : dib;
    currentSave = (saveProc >= 0 && catalogue_has_writer((int)saveProc)) ? (int)saveProc : dib;
}
