#include "login_dialog.h"

#include "loader_texts.h"
#include "platform.h"
#include "saved_focus.h"
#include "win_text.h"

namespace {

enum LoginControl { FirstEntry = 7005, SecondEntry = 7006, ExitButton = 7007, ResetFirst = 7008,
                    ResetSecond = 7009, AcceptButton = 7010 };

struct LoginSession {
    SecretText* password;
    HFONT entryFont, buttonFont;
    SecretText firstEntry, secondEntry;  // as read at the last "Aceptar", wiped once compared
};

// The control that had the focus when the dialog was last deactivated, given back when it comes back.
HWND loginFocus = nullptr;

DialogTemplate LoginTemplate() {
    DialogFrame frame;
    frame.caption = LoginCaption;
    frame.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    frame.x = 70;
    frame.y = 70;
    frame.cx = 201;
    frame.cy = 84;
    DialogTemplate t(frame);
    constexpr DWORD entry = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_PASSWORD | ES_AUTOHSCROLL;
    constexpr DWORD push = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    using C = ControlClass;
    t.Add({FirstEntry, C::Edit, "", entry, WS_EX_CLIENTEDGE, 5, 40, 190, 20});
    t.Add({SecondEntry, C::Edit, "", entry, WS_EX_CLIENTEDGE, 5, 60, 190, 20});
    t.Add({ExitButton, C::Button, "Salir", push, 0, 0, 0, 50, 35});
    t.Add({ResetFirst, C::Button, "Reset1", push, 0, 50, 0, 50, 35});
    t.Add({ResetSecond, C::Button, "Reset2", push, 0, 100, 0, 50, 35});
    t.Add({AcceptButton, C::Button, "Aceptar", push, 0, 150, 0, 50, 35});
    return t;
}

// The fields hold what was typed until the dialog goes: emptied in place first, so that the controls'
// buffers keep no entry.
void EndLogin(HWND dialog) {
    WipeEditField(dialog, FirstEntry);
    WipeEditField(dialog, SecondEntry);
    EndDialog(dialog, 0);
}

void Accept(HWND dialog, LoginSession& session) {
    session.firstEntry = SecretControlTextLossy(dialog, FirstEntry);
    session.secondEntry = SecretControlTextLossy(dialog, SecondEntry);
    // Both entries alike, letter case included, and not empty; otherwise the dialog just stays.
    const bool accepted = !session.firstEntry.empty() && session.firstEntry == session.secondEntry;
    if (accepted) *session.password = session.firstEntry;
    session.firstEntry.clear();
    session.secondEntry.clear();
    if (accepted) EndLogin(dialog);
}

INT_PTR CALLBACK LoginDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
            case WM_INITDIALOG: {
                SetWindowLongPtrW(dialog, DWLP_USER, lParam);
                auto* session = reinterpret_cast<LoginSession*>(lParam);
                for (int id : {FirstEntry, SecondEntry}) AssignFont(dialog, id, session->entryFont);
                for (int id : {ExitButton, ResetFirst, ResetSecond, AcceptButton}) {
                    AssignFont(dialog, id, session->buttonFont);
                }
                break;
            }
            case WM_NCACTIVATE:
                KeepFocusAcrossActivation(loginFocus, wParam != FALSE);
                break;
            case WM_COMMAND: {
                if (HIWORD(wParam) > 1) break;
                auto* session = reinterpret_cast<LoginSession*>(GetWindowLongPtrW(dialog, DWLP_USER));
                switch (LOWORD(wParam)) {
                    case ExitButton: EndLogin(dialog); break;
                    case ResetFirst: WipeEditField(dialog, FirstEntry); break;
                    case ResetSecond: WipeEditField(dialog, SecondEntry); break;
                    case AcceptButton:
                        if (session != nullptr) Accept(dialog, *session);
                        break;
                    default: break;  // Esc and Enter (ids 2 and 1) do nothing here
                }
                break;
            }
            default:
                break;
        }
    } catch (...) {
    }
    return 0;
}

}  // namespace

INT_PTR ShowLoginDialog(HWND parent, SecretText& loginPassword) {
    UniqueFont entryFont = MakeFont({"MS Sans Serif", 14, FW_BOLD});
    UniqueFont buttonFont = MakeFont({"MS Sans Serif", 8, FW_BOLD});
    LoginSession session{&loginPassword, entryFont.get(), buttonFont.get(), {}, {}};
    loginFocus = nullptr;
    INT_PTR result = RunModalDialog(LoginTemplate(), parent, LoginDialogProc, reinterpret_cast<LPARAM>(&session));
    return result == -1 ? 0 : result;
}
