// The Settings, About and Mantras dialogs, each run modally with the main
// window as owner. The dialogs' modal loops keep the thread retrieving
// messages, so the keyboard hook goes on working while one is open.
#include "dialogs.h"

#include <commctrl.h>

#include "resource.h"
#include "settings.h"

namespace {

// The controls that only mean something when the window is not started hidden.
// The up-down control is deliberately not among them: it stays usable.
constexpr int AutoHideControls[] = {IDC_AUTOHIDE, IDC_AUTOHIDE_DELAY, IDC_SEC_LABEL};

constexpr unsigned LowestDelay = 0;
constexpr unsigned HighestDelay = 30;

void EnableAutoHideControls(HWND dialog, bool enable) {
    for (int id : AutoHideControls) {
        EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
    }
}

UINT CheckState(unsigned setting) {
    return setting != 0 ? BST_CHECKED : BST_UNCHECKED;
}

unsigned IsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1u : 0u;
}

// Shows the settings in memory. The range binds the arrows only: the field
// takes any run of digits, and OK stores it as it stands.
INT_PTR OnSettingsInit(HWND dialog) {
    CheckDlgButton(dialog, IDC_START_HIDDEN, CheckState(StartHidden));
    CheckDlgButton(dialog, IDC_AUTOHIDE, CheckState(AutoHide));
    SetDlgItemInt(dialog, IDC_AUTOHIDE_DELAY, AutoHideDelay, FALSE);
    if (StartHidden != 0) {
        EnableAutoHideControls(dialog, false);
    }
    HWND spin = GetDlgItem(dialog, IDC_DELAY_SPIN);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_AUTOHIDE_DELAY)), 0);
    SendMessageA(spin, UDM_SETRANGE, 0, MAKELPARAM(HighestDelay, LowestDelay));
    return TRUE;
}

// Both buttons write the file: Cancel (Escape, the close button) writes the
// settings as they were, OK the ones on screen.
INT_PTR OnSettingsCommand(HWND dialog, WPARAM wParam) {
    const int command = LOWORD(wParam);
    switch (command) {
    case IDOK:
        StartHidden = IsChecked(dialog, IDC_START_HIDDEN);
        AutoHide = IsChecked(dialog, IDC_AUTOHIDE);
        // An empty field gives 0, which turns autohide off at the next start.
        AutoHideDelay = GetDlgItemInt(dialog, IDC_AUTOHIDE_DELAY, nullptr, FALSE);
        [[fallthrough]];
    case IDCANCEL:
        SaveSettings();
        EndDialog(dialog, command);
        return TRUE;
    case IDC_START_HIDDEN:
        if (HIWORD(wParam) == BN_CLICKED) {
            EnableAutoHideControls(dialog, IsChecked(dialog, IDC_START_HIDDEN) == 0);
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// The caption's context-help button is left without effect.
INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return OnSettingsInit(dialog);
    case WM_COMMAND:
        return OnSettingsCommand(dialog, wParam);
    default:
        return FALSE;
    }
}

// OK, Escape and the close button end the dialog. The Mantras card has the
// same single button, so it runs on this procedure too.
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void RunDialog(HWND owner, int resource, DLGPROC procedure) {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource), owner, procedure, 0);
}

}  // namespace

void ShowAboutDialog(HWND owner) {
    RunDialog(owner, IDD_ABOUT, AboutDlgProc);
}

void ShowSettingsDialog(HWND owner) {
    RunDialog(owner, IDD_SETTINGS, SettingsDlgProc);
}

void ShowMantrasDialog(HWND owner) {
    RunDialog(owner, IDD_MANTRAS, AboutDlgProc);
}
