/* Binding the codec library: loaded on first use, entry points by
   ordinal, freed when a call asks for it or a save fails. */
#include <stdio.h>
#include <string.h>

#include "kojpeg_hooks.h"

static int codecFault;

extern "C" void kojpeg_set_codec_fault(int fault) { codecFault = fault; }

#ifdef _WIN32
static HMODULE codecLibrary;
static TavnIdentifyProc identifyProc;
static TavnExecuteProc executeProc;

/* The folder from HKEY_LOCAL_MACHINE, else from the "Dll" profile file
   (whose value is written back). */
static void codec_folder(char *folder, DWORD size) {
    folder[0] = '\0';
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\OrvantaImaging\\Dll\\TAVN13", 0, KEY_READ, &key) ==
        ERROR_SUCCESS) {
        DWORD type = 0, bytes = size - 1;
        LONG rc = RegQueryValueExA(key, NULL, NULL, &type, (BYTE *)folder, &bytes);
        RegCloseKey(key);
        if (rc == ERROR_SUCCESS && type == REG_SZ) {
            folder[bytes < size ? bytes : size - 1] = '\0';
            return;
        }
        folder[0] = '\0';
    }
    GetPrivateProfileStringA("TAVN13", "", "", folder, size, "Dll");
    WritePrivateProfileStringA("TAVN13", "", folder, "Dll");
}

static void codec_path(char *path, size_t size) {
    char folder[MAX_PATH];
    codec_folder(folder, sizeof folder);
    if (strlen(folder) < 3) folder[0] = '\0';
    size_t n = strlen(folder);
    if (n && folder[n - 1] != '\\' && n + 1 < sizeof folder) strcat(folder, "\\");
    snprintf(path, size, "%sTAVN13.DLL", folder);
}

static int bind_codec(void) {
    if (codecLibrary) return 1;
    char path[MAX_PATH + 16];
    codec_path(path, sizeof path);
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    codecLibrary = codecFault == 1 ? NULL : LoadLibraryA(path);
    SetErrorMode(oldMode);
    if (!codecLibrary) {
        kojpeg_codec_message(IDS_KJ_NO_CODEC);
        return 0;
    }
    identifyProc = (TavnIdentifyProc)(void *)GetProcAddress(codecLibrary, MAKEINTRESOURCEA(4));
    executeProc = (TavnExecuteProc)(void *)GetProcAddress(codecLibrary, MAKEINTRESOURCEA(6));
    if (!identifyProc || !executeProc || codecFault == 2) {
        kojpeg_codec_message(IDS_KJ_BAD_ORDINAL);
        kojpeg_codec_unload();
        return 0;
    }
    return 1;
}

extern "C" void kojpeg_codec_unload(void) {
    if (codecLibrary) FreeLibrary(codecLibrary);
    codecLibrary = NULL;
    identifyProc = NULL;
    executeProc = NULL;
}
#else
/* Natively the codec is linked in; only the faults are pretended. */
static TavnIdentifyProc identifyProc = TAVN_Identify;
static TavnExecuteProc executeProc = TAVN_Execute;

static int bind_codec(void) {
    if (codecFault == 1) {
        kojpeg_codec_message(IDS_KJ_NO_CODEC);
        return 0;
    }
    if (codecFault == 2) {
        kojpeg_codec_message(IDS_KJ_BAD_ORDINAL);
        return 0;
    }
    return 1;
}

extern "C" void kojpeg_codec_unload(void) {}
#endif

/* The codec cannot be had: status -2005 and result 2. */
static int codec_missing(void) {
    kojpeg_request()->f.status = TAVN_ERR_NOCODEC;
    return TAVN_UNLOAD;
}

extern "C" int kojpeg_codec_identify(void) {
    if (!bind_codec()) return codec_missing();
    return identifyProc(kojpeg_request());
}

extern "C" int kojpeg_codec_execute(DWORD code) {
    if (!bind_codec()) return codec_missing();
    int rc = executeProc(kojpeg_request(), code);
    if (rc == TAVN_UNLOAD) kojpeg_codec_unload();
    return rc;
}
