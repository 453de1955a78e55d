/* A host for the image plug-in without windows: image windows are
   records of a DIB and flags, the menu a list of items, the settings
   store a map; every request the plug-in makes is written down as one
   line in `calls`, and every box it shows in `boxes`. */
#ifndef FAKE_HOST_H
#define FAKE_HOST_H

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "plugin.h"

struct FakeWindow {
    HGLOBAL dib = nullptr;
    std::vector<HGLOBAL> undo; /* the images it gave up, newest last */
    DWORD flags = 0x4;         /* color, as the viewer marks color images */
    bool imageClass = true;    /* "GenericWClass" */
    bool palette = true;
    DWORD depth = 0;           /* info word 24 */
    int getsBeforeGone = -1;   /* RQ_GetHDib answers that many times, then 0 */
};

struct FakeItem {
    UINT id;
    std::string text; /* "" for the separator */
    bool enabled = true;
};

struct FakeHost {
    FakeHost();
    ~FakeHost();

    ImgPlatform platform;
    ImgPlugin plugin;
    std::vector<std::string> calls;
    std::vector<std::string> boxes;

    std::map<HWND, FakeWindow> windows;
    std::vector<FakeItem> menu;
    bool menuAvailable = true;
    int idsLeft = 1000;
    UINT nextId = 0x5000, idStep = 1;
    int classFailures[IMG_CLASSES] = {0, 0, 0}; /* registrations refused */
    std::string product = "Lumacast";
    std::map<std::string, DWORD> store;  /* "name" -> value */
    std::map<std::string, int> stored;   /* "name" -> type written */
    std::function<int(int which, ImgPlugin *p, HGLOBAL dib, void *out)> dialog;
    int shapeId = 0; /* the mask dialog's choice, 0 for none */
    int coverageStatus = IMG_OK; /* what the shape and caption coverages answer */

    HWND add_window(HGLOBAL dib, DWORD flags = 0x4);
    HGLOBAL image(HWND w) { return windows[w].dib; }
    /* Runs init; the calls recorded so far are cleared. */
    int init();
    /* The calls that start with a prefix. */
    std::vector<std::string> calls_of(const std::string &prefix) const;
    void clear() { calls.clear(), boxes.clear(); }
};

#endif
