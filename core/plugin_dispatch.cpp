/* Calls into format plug-ins.  Each call loads the library afresh, calls
   the export and frees the library again, so no plug-in stays loaded
   between calls; a library or export that is missing makes the call fail
   without a message. */
#include "core/catalogue.h"
#include "core/pipeline.h"
#include "core/plugin_dispatch.h"
#include "core/plugin_library.h"

typedef int(WINAPI *RqFmtLoad)(HMODULE host, LPSTR path, HGLOBAL *out);
typedef int(WINAPI *RqFmtSave)(HMODULE host, LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp);
typedef int(WINAPI *RqFmtValidate)(HMODULE host, LPSTR path);

static HMODULE hostModule;

extern "C" void pipeline_set_host_module(HMODULE host) { hostModule = host; }
extern "C" HMODULE pipeline_host_module(void) { return hostModule; }

extern "C" int plugin_load(const char *library, LPSTR path, HGLOBAL *out) {
    LcLibrary lib = lc_library_open(library);
    if (!lib) return 0;
    RqFmtLoad entry = (RqFmtLoad)lc_library_symbol(lib, "RQ_Fmt_Load");
    int ok = entry ? entry(hostModule, path, out) : 0;
    lc_library_close(lib);
    return ok;
}

extern "C" int plugin_save(const char *library, LPSTR path, HGLOBAL dib, WORD color, WORD compressed, WORD bpp) {
    LcLibrary lib = lc_library_open(library);
    if (!lib) return 0;
    RqFmtSave entry = (RqFmtSave)lc_library_symbol(lib, "RQ_Fmt_Save");
    int ok = entry ? entry(hostModule, path, dib, color, compressed, bpp) : 0;
    lc_library_close(lib);
    return ok;
}

extern "C" int plugin_validate(const char *library, LPSTR path) {
    LcLibrary lib = lc_library_open(library);
    if (!lib) return 0;
    RqFmtValidate entry = (RqFmtValidate)lc_library_symbol(lib, "RQ_Fmt_Validate");
    int ok = entry ? entry(hostModule, path) : 0;
    lc_library_close(lib);
    return ok;
}
