// bare_dialog.exe: the least a program of the suite does before its dialog shows: one modal dialog from an
// in-memory template with the suite's manifest and dialog font, and one button. The start-up benchmark's
// floor.
#include <windows.h>

#include "platform.h"

namespace {

INT_PTR CALLBACK BareProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    DialogFrame frame;
    frame.caption = "Bare ...";
    frame.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME;
    frame.x = 70;
    frame.y = 70;
    frame.cx = 120;
    frame.cy = 40;
    DialogTemplate dialog(frame);
    dialog.Add({IDOK, ControlClass::Button, "Salir", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 35, 12,
                50, 14});
    return static_cast<int>(RunModalDialog(dialog, nullptr, BareProc));
}
