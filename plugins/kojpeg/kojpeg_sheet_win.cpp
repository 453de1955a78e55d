/* The "Compression Options" property sheet, the Password dialog of locked
   PIC loads, and the display depth: the plug-in's Windows side. */
#include "kojpeg_hooks.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include "kojpeg_res.h"
#include "kojpeg_sheet_win.h"

static int displayBits;
static char loadPassword[TAVN_PASSWORD_MAX + 1];
static int loadPasswordSet;
static KojpegSheetObserver observer;

extern "C" void kojpeg_set_display_bits(int bits) { displayBits = bits; }
extern "C" void kojpeg_set_native_level(int) {}
extern "C" void kojpeg_store_reset(void) {}
extern "C" void kojpeg_set_sheet_observer(KojpegSheetObserver o) { observer = o; }

extern "C" int kojpeg_display_bits(void) {
    if (displayBits) return displayBits;
    HDC dc = CreateDCA("DISPLAY", NULL, NULL, NULL);
    int bits = dc ? GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES) : 24;
    if (dc) DeleteDC(dc);
    return bits;
}

extern "C" void kojpeg_set_load_password(const char *password) {
    loadPasswordSet = password != NULL;
    snprintf(loadPassword, sizeof loadPassword, "%s", password ? password : "");
}

/* ---- the Password dialog (a locked PIC being loaded) ---- */

static INT_PTR CALLBACK password_proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            SendDlgItemMessageA(dialog, IDC_KJ_ASK_PASSWORD, EM_LIMITTEXT, TAVN_PASSWORD_MAX, 0);
            CheckDlgButton(dialog, IDC_KJ_ASK_ENABLE, BST_CHECKED);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                char *out = (char *)GetWindowLongPtrA(dialog, DWLP_USER);
                GetDlgItemTextA(dialog, IDC_KJ_ASK_PASSWORD, out, TAVN_PASSWORD_MAX + 1);
                if (IsDlgButtonChecked(dialog, IDC_KJ_ASK_ENABLE) != BST_CHECKED) out[0] = '\0';
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
    }
    return FALSE;
}

extern "C" int kojpeg_load_password(char *password) {
    if (loadPasswordSet) {
        memcpy(password, loadPassword, sizeof loadPassword);
        return password[0] != '\0';
    }
    char typed[TAVN_PASSWORD_MAX + 1] = "";
    if (DialogBoxParamA(kojpeg_instance(), MAKEINTRESOURCEA(IDD_KJ_PASSWORD), NULL, password_proc,
                        (LPARAM)typed) != IDOK ||
        !typed[0])
        return 0;
    memcpy(password, typed, sizeof typed);
    return 1;
}

/* ---- the sheet ---- */

typedef struct Sheet {
    int kind;
    JpegOptions o;
    int passwordChanged;
    int advancedShown;
} Sheet;

static Sheet *sheet_of(HWND page) { return (Sheet *)GetWindowLongPtrA(page, DWLP_USER); }

static Sheet *attach(HWND page, LPARAM lParam) {
    Sheet *s = (Sheet *)((PROPSHEETPAGEA *)lParam)->lParam;
    SetWindowLongPtrA(page, DWLP_USER, (LONG_PTR)s);
    return s;
}

static void set_label(HWND page, UINT id, UINT stringId) {
    char text[64];
    if (LoadStringA(kojpeg_instance(), stringId, text, sizeof text)) SetDlgItemTextA(page, id, text);
}

static const UINT ADVANCED[] = {IDC_KJ_LUMINANCE, IDC_KJ_CHROMINANCE, IDC_KJ_LUM_SPIN, IDC_KJ_CHR_SPIN,
                                IDC_KJ_LUM_LABEL, IDC_KJ_CHR_LABEL, IDC_KJ_SUB_GROUP, IDC_KJ_SUB_111,
                                IDC_KJ_SUB_211, IDC_KJ_SUB_411};

static void show_advanced(HWND page, int shown) {
    for (UINT id : ADVANCED) ShowWindow(GetDlgItem(page, id), shown ? SW_SHOW : SW_HIDE);
    set_label(page, IDC_KJ_ADVANCED, shown ? IDS_KJ_ADVANCED_HIDE : IDS_KJ_ADVANCED_SHOW);
}

static void show_fields(HWND page, DWORD luminance, DWORD chrominance, DWORD subsample) {
    SetDlgItemInt(page, IDC_KJ_LUMINANCE, luminance, FALSE);
    SetDlgItemInt(page, IDC_KJ_CHROMINANCE, chrominance, FALSE);
    CheckRadioButton(page, IDC_KJ_SUB_111, IDC_KJ_SUB_411, IDC_KJ_SUB_111 + (subsample <= 2 ? subsample : 2));
}

static void show_level(HWND page, int position) {
    SetDlgItemInt(page, IDC_KJ_LEVEL, (UINT)position + 1, FALSE);
}

/* The slider loads its level's luminance, chrominance and subsampling. */
static void slider_moved(HWND page) {
    int position = (int)SendDlgItemMessageA(page, IDC_KJ_SLIDER, TBM_GETPOS, 0, 0);
    const JpegLevel *l = kojpeg_level((unsigned)position);
    show_fields(page, l->luminance, l->chrominance, l->subsample);
    show_level(page, position);
}

/* A typed factor above 255 becomes 255, with a beep and the focus back. */
static void factor_edited(HWND page, UINT id) {
    BOOL ok = FALSE;
    UINT value = GetDlgItemInt(page, id, &ok, FALSE);
    if (!ok || value <= 255) return;
    SetDlgItemInt(page, id, 255, FALSE);
    MessageBeep(MB_ICONEXCLAMATION);
    SetFocus(GetDlgItem(page, id));
}

static void compression_init(HWND page, Sheet *s) {
    int position = s->o.optimumChoice <= 19 ? (int)s->o.optimumChoice : 10;
    SendDlgItemMessageA(page, IDC_KJ_SLIDER, TBM_SETRANGE, TRUE, MAKELONG(0, 19));
    SendDlgItemMessageA(page, IDC_KJ_SLIDER, TBM_SETPOS, TRUE, position);
    show_level(page, position);
    SendDlgItemMessageA(page, IDC_KJ_LUM_SPIN, UDM_SETRANGE, 0, MAKELONG(255, 1));
    SendDlgItemMessageA(page, IDC_KJ_CHR_SPIN, UDM_SETRANGE, 0, MAKELONG(255, 1));
    SendDlgItemMessageA(page, IDC_KJ_LUMINANCE, EM_LIMITTEXT, 5, 0);
    SendDlgItemMessageA(page, IDC_KJ_CHROMINANCE, EM_LIMITTEXT, 5, 0);
    show_fields(page, s->o.luminance, s->o.chrominance, s->o.subsample);
    s->advancedShown = 0;
    show_advanced(page, 0);
}

static DWORD factor_of(HWND page, UINT id) {
    BOOL ok = FALSE;
    UINT v = GetDlgItemInt(page, id, &ok, FALSE);
    return !ok || v < 1 ? 1 : v > 255 ? 255 : v;
}

static void compression_apply(HWND page, Sheet *s) {
    s->o.optimumChoice = (DWORD)SendDlgItemMessageA(page, IDC_KJ_SLIDER, TBM_GETPOS, 0, 0);
    s->o.luminance = factor_of(page, IDC_KJ_LUMINANCE);
    s->o.chrominance = factor_of(page, IDC_KJ_CHROMINANCE);
    for (DWORD i = 0; i < 3; i++)
        if (IsDlgButtonChecked(page, IDC_KJ_SUB_111 + i) == BST_CHECKED) s->o.subsample = i;
}

static INT_PTR CALLBACK compression_proc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    Sheet *s = sheet_of(page);
    switch (msg) {
        case WM_INITDIALOG:
            compression_init(page, attach(page, lParam));
            return TRUE;
        case WM_HSCROLL:
            if ((HWND)lParam == GetDlgItem(page, IDC_KJ_SLIDER)) slider_moved(page);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_KJ_ADVANCED && HIWORD(wParam) == BN_CLICKED) {
                s->advancedShown = !s->advancedShown;
                show_advanced(page, s->advancedShown);
            } else if ((LOWORD(wParam) == IDC_KJ_LUMINANCE || LOWORD(wParam) == IDC_KJ_CHROMINANCE) &&
                       HIWORD(wParam) == EN_CHANGE) {
                factor_edited(page, LOWORD(wParam));
            }
            return TRUE;
        case WM_NOTIFY:
            if (((NMHDR *)lParam)->code == PSN_APPLY) compression_apply(page, s);
            return FALSE;
    }
    return FALSE;
}

static void enable_scans(HWND page) {
    BOOL on = IsDlgButtonChecked(page, IDC_KJ_PROGRESSIVE) == BST_CHECKED;
    for (UINT id = IDC_KJ_SCAN_GROUP; id <= IDC_KJ_SCAN5; id++) EnableWindow(GetDlgItem(page, id), on);
}

static INT_PTR CALLBACK jpeg_proc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    Sheet *s = sheet_of(page);
    switch (msg) {
        case WM_INITDIALOG: {
            s = attach(page, lParam);
            CheckRadioButton(page, IDC_KJ_SEQUENTIAL, IDC_KJ_PROGRESSIVE,
                             s->kind == KIND_PROGRESSIVE ? IDC_KJ_PROGRESSIVE : IDC_KJ_SEQUENTIAL);
            DWORD level = s->o.scriptLevel >= 1 && s->o.scriptLevel <= 3 ? s->o.scriptLevel : 1;
            CheckRadioButton(page, IDC_KJ_SCAN3, IDC_KJ_SCAN5, IDC_KJ_SCAN3 + level - 1);
            enable_scans(page);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_KJ_SEQUENTIAL || LOWORD(wParam) == IDC_KJ_PROGRESSIVE) enable_scans(page);
            return TRUE;
        case WM_NOTIFY:
            if (((NMHDR *)lParam)->code == PSN_APPLY) {
                s->o.wantProgressive = IsDlgButtonChecked(page, IDC_KJ_PROGRESSIVE) == BST_CHECKED;
                for (DWORD i = 0; i < 3; i++)
                    if (IsDlgButtonChecked(page, IDC_KJ_SCAN3 + i) == BST_CHECKED) s->o.scriptLevel = i + 1;
            }
            return FALSE;
    }
    return FALSE;
}

static INT_PTR CALLBACK password_page_proc(HWND page, UINT msg, WPARAM, LPARAM lParam) {
    Sheet *s = sheet_of(page);
    switch (msg) {
        case WM_INITDIALOG:
            s = attach(page, lParam);
            CheckDlgButton(page, IDC_KJ_WANT_PASSWORD, s->o.wantPassword ? BST_CHECKED : BST_UNCHECKED);
            SendDlgItemMessageA(page, IDC_KJ_PASSWORD, EM_LIMITTEXT, TAVN_PASSWORD_MAX, 0);
            SetDlgItemTextA(page, IDC_KJ_PASSWORD, s->o.password);
            return TRUE;
        case WM_NOTIFY:
            if (((NMHDR *)lParam)->code == PSN_APPLY) {
                s->o.wantPassword = IsDlgButtonChecked(page, IDC_KJ_WANT_PASSWORD) == BST_CHECKED;
                char typed[TAVN_PASSWORD_MAX + 1];
                GetDlgItemTextA(page, IDC_KJ_PASSWORD, typed, sizeof typed);
                s->passwordChanged = strcmp(typed, s->o.password) != 0;
                memcpy(s->o.password, typed, sizeof typed);
            }
            return FALSE;
    }
    return FALSE;
}

static INT_PTR CALLBACK comment_proc(HWND page, UINT msg, WPARAM, LPARAM lParam) {
    Sheet *s = sheet_of(page);
    switch (msg) {
        case WM_INITDIALOG:
            s = attach(page, lParam);
            SendDlgItemMessageA(page, IDC_KJ_COMMENT, EM_LIMITTEXT, TAVN_COMMENT_MAX, 0);
            SetDlgItemTextA(page, IDC_KJ_COMMENT, s->o.comment);
            return TRUE;
        case WM_NOTIFY:
            if (((NMHDR *)lParam)->code == PSN_APPLY)
                GetDlgItemTextA(page, IDC_KJ_COMMENT, s->o.comment, sizeof s->o.comment);
            return FALSE;
    }
    return FALSE;
}

static int CALLBACK sheet_callback(HWND sheet, UINT msg, LPARAM) {
    if (msg == PSCB_INITIALIZED && observer) observer(sheet);
    return 0;
}

static void add_page(PROPSHEETPAGEA *pages, UINT *count, UINT dialog, DLGPROC proc, Sheet *s) {
    PROPSHEETPAGEA *p = &pages[(*count)++];
    memset(p, 0, sizeof *p);
    p->dwSize = sizeof *p;
    p->hInstance = kojpeg_instance();
    p->pszTemplate = MAKEINTRESOURCEA(dialog);
    p->pfnDlgProc = proc;
    p->lParam = (LPARAM)s;
}

extern "C" int kojpeg_sheet_default(int kind, JpegOptions *o, int *passwordChanged) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    Sheet s;
    s.kind = kind;
    s.o = *o;
    s.passwordChanged = 0;
    s.advancedShown = 0;
    PROPSHEETPAGEA pages[4];
    UINT count = 0;
    add_page(pages, &count, IDD_KJ_COMPRESSION, compression_proc, &s);
    if (kind != KIND_PIC) add_page(pages, &count, IDD_KJ_JPEG_OPTIONS, jpeg_proc, &s);
    if (kind == KIND_PIC) add_page(pages, &count, IDD_KJ_PASSWORD_PAGE, password_page_proc, &s);
    add_page(pages, &count, IDD_KJ_COMMENT, comment_proc, &s);
    char title[64];
    if (!LoadStringA(kojpeg_instance(), IDS_KJ_SHEET_TITLE, title, sizeof title)) strcpy(title, "Compression Options");
    PROPSHEETHEADERA header;
    memset(&header, 0, sizeof header);
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK;
    header.hInstance = kojpeg_instance();
    header.pszCaption = title;
    header.nPages = count;
    header.ppsp = pages;
    header.pfnCallback = sheet_callback;
    if (PropertySheetA(&header) <= 0) return 0;
    *o = s.o;
    *passwordChanged = s.passwordChanged;
    return 1;
}
