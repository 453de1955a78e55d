// image.dll: the nine entry points the host library calls by name, over
// the one plug-in state of the process.
#include "image_win.h"

HINSTANCE g_img_module;
ImgPlugin g_img;

extern "C" BOOL WINAPI DllMain(HINSTANCE inst, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_img_module = inst;
        img_set_instance(inst);
        img_plugin_reset(&g_img, &g_img_platform);
        DisableThreadLibraryCalls(inst);
    } else if (reason == DLL_PROCESS_DETACH) {
        img_shape_release();
    }
    return TRUE;
}

IMG_EXPORT int WINAPI RQ_ImgLib_Version(DWORD version, DWORD, DWORD) { return img_plugin_version(&g_img, version); }

IMG_EXPORT int WINAPI RQ_ImgLib_Init(ULONG_PTR hostValue, HWND frame) {
    return img_plugin_init(&g_img, hostValue, frame);
}

IMG_EXPORT int WINAPI RQ_ImgLib_ImageActivate(HWND window, DWORD activating, DWORD) {
    return img_plugin_activate(&g_img, window, activating);
}

IMG_EXPORT int WINAPI RQ_ImgLib_MenuInit(DWORD, HMENU menu, DWORD) { return img_plugin_menu_init(&g_img, menu); }

IMG_EXPORT int WINAPI RQ_ImgLib_MenuHandler(DWORD, DWORD commandId, LRESULT *result) {
    return img_plugin_menu_handler(&g_img, commandId, result);
}

IMG_EXPORT int WINAPI RQ_ImgLib_HelpHandler(DWORD, DWORD commandId, DWORD flags, LRESULT *result) {
    return img_plugin_help_handler(&g_img, commandId, flags, result);
}

IMG_EXPORT int WINAPI RQ_ImgLib_QueryExit(void) { return 1; }

IMG_EXPORT int WINAPI RQ_ImgLib_Exit(void) { return img_plugin_exit(&g_img); }

IMG_EXPORT HICON WINAPI RQ_ImgLib_Icon(void) { return LoadIconA(g_img_module, MAKEINTRESOURCEA(IDI_IMG_ICON)); }

IMG_EXPORT HGLOBAL WINAPI IMG_FrameDIB(HGLOBAL dib, const ImgFrameRecord *record, BOOL invertOff, BOOL alpha,
                                       BOOL color, DWORD) {
    if (!dib || !record) return NULL;
    return img_frame_dib(&g_img_platform, dib, record, invertOff, alpha, color);
}
