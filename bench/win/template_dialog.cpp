// template_dialog.exe: Claverix's dialog built from the program's own template and nothing more: no fonts,
// icons or list items. The start-up benchmark's second floor for Claverix: between it and the bare dialog
// lies what creating the 21 controls costs, between it and Claverix what the program adds at start.
#include <windows.h>

#include "generator_state.h"
#include "generator_template.h"
#include "platform.h"

namespace {

INT_PTR CALLBACK TemplateProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && (LOWORD(wParam) == ExitButton || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return static_cast<int>(RunModalDialog(GeneratorTemplate(), nullptr, TemplateProc));
}
