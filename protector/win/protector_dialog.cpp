#include "protector_dialog.h"

#include "platform.h"
#include "protection_run.h"
#include "saved_focus.h"

namespace {

// The control that had the focus when the dialog was last deactivated.
HWND SavedFocus = nullptr;

struct ProtectorFonts {
    UniqueFont label;  // LabelFont
    UniqueFont small;  // SmallFont
    UniqueFont large;  // LargeFont
};

constexpr DWORD Label = WS_CHILD | WS_VISIBLE | SS_LEFT;
constexpr DWORD Push = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

DialogTemplate ProtectorTemplate() {
    DialogFrame frame;
    frame.caption = "Protege tus contrase\xF1" "as, es lo mejor ...";
    frame.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_NOFAILCREATE | DS_3DLOOK;
    frame.x = 70;
    frame.y = 70;
    frame.cx = 201;
    frame.cy = 121;
    DialogTemplate t(frame);
    using C = ControlClass;
    t.Add({PasswordLabel, C::Static, "Password de este programa", Label, 0, 5, 5, 175, 15});
    t.Add({PasswordBox, C::Edit, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL,
           WS_EX_CLIENTEDGE, 5, 20, 175, 13});
    t.Add({SearchLabel, C::Static, "Buscar y encriptar posibles contrase\xF1" "as", Label, 0, 5, 37, 190, 15});
    t.Add({SearchButton, C::Button, "...", Push, 0, 5, 55, 50, 15});
    t.Add({CloseButton, C::Button, "Salir", Push, 0, 140, 100, 50, 15});
    return t;
}

// "Salir": ends the dialog at once, or, inside a run, once the file being written is complete.
void RequestExit(HWND dialog) {
    ProtectionState& state = Protection();
    if (state.running) {
        state.exitRequested = true;
    } else {
        EndDialog(dialog, 0);
    }
}

void OnCommand(HWND dialog, int id, int code) {
    if (code > 1) return;
    if (id == SearchButton) {
        // A press during a run reaches here through the run's own message pumping: ignored by RunProtection.
        RunProtection(dialog);
        if (Protection().exitRequested && !Protection().running) EndDialog(dialog, 0);
    } else if (id == CloseButton) {
        RequestExit(dialog);
    }
}

INT_PTR CALLBACK ProtectorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
            case WM_INITDIALOG: {
                SetPumpDialog(dialog);
                auto* fonts = reinterpret_cast<ProtectorFonts*>(lParam);
                AssignFont(dialog, PasswordLabel, fonts->label.get());
                AssignFont(dialog, PasswordBox, fonts->small.get());
                AssignFont(dialog, SearchLabel, fonts->label.get());
                AssignFont(dialog, SearchButton, fonts->large.get());
                AssignFont(dialog, CloseButton, fonts->small.get());
                return TRUE;  // the focus goes to the password box, the first tab stop
            }
            case WM_NCACTIVATE:
                KeepFocusAcrossActivation(SavedFocus, wParam != 0);
                return FALSE;
            case WM_COMMAND:
                OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
                return FALSE;
            case WM_SYSCOMMAND:
                // Alt+F4 acts as "Salir". Escape (IDCANCEL) is left alone so a stray key never closes the dialog.
                if ((wParam & 0xFFF0) == SC_CLOSE) {
                    RequestExit(dialog);
                    return TRUE;
                }
                return FALSE;
            default:
                return FALSE;
        }
    } catch (...) {
        // Nothing may unwind into USER32; running out of memory is the only throw possible here.
        return FALSE;
    }
}

}  // namespace

int ShowProtectorDialog(HWND parent) {
    ProtectorFonts fonts{
        MakeFont({"MS Sans Serif", 10, FW_BOLD}),
        MakeFont({"MS Sans Serif", 8, FW_BOLD}),
        MakeFont({"MS Sans Serif", 18, FW_BOLD}),
    };
    INT_PTR result = RunModalDialog(ProtectorTemplate(), parent, ProtectorDialogProc, reinterpret_cast<LPARAM>(&fonts));
    SetPumpDialog(nullptr);
    return result < 0 ? 0 : static_cast<int>(result);
}
