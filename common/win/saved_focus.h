// The focus a dialog had when it lost activation, given back when it regains it: the dialogs of the suite
// keep this in their WM_NCACTIVATE handling, since the dialog manager alone would move it to the first tab stop.
#pragma once

#include <windows.h>

// wParam of WM_NCACTIVATE is `active`. `saved` is the dialog's own variable; it is cleared once used.
inline void KeepFocusAcrossActivation(HWND& saved, bool active) {
    if (!active) {
        saved = GetFocus();
    } else if (saved != nullptr) {
        SetFocus(saved);
        saved = nullptr;
    }
}
