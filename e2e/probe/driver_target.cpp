// driver_target.exe: a small window with one control of each kind the programs use, for the driver's own
// tests. Whatever happens to it is appended to the events control (id 110) as "name;" so a test can wait
// for it.
//
//   101 edit              102 list box (LBS_NOTIFY): a double click gives "dblclk:<index>;"
//   103 automatic check box                            104 "Mensaje": an unowned message box, then "ok;"
//   105 "Copiar": the edit's text onto the clipboard as CF_TEXT, then "copied;"
//   106 a disabled button: "disabled;" if it ever gets through
//   107 "&Repetir" (Alt+R): "repeat;"             108 "Pregunta": a Yes/No box without icon owned by
//                                                      the window, then "yes;" or "no;"
//   109 "Retener": opens the clipboard and keeps it open for 300 ms ("held;", then "released;")
//   110 the events (read only)
#include <windows.h>

#include <cstring>
#include <string>

#include "unique.h"
#include "win_text.h"

namespace {

constexpr wchar_t TargetClass[] = L"DriverTarget";
constexpr char MessageText[] = "\xBF" "Seguro? S\xED, contrase\xF1" "a \xAE \xA1ya!";
constexpr char MessageTitle[] = "Atenci\xF3n";
HWND mainWindow = nullptr;

void Event(std::string_view name) {
    HWND events = GetDlgItem(mainWindow, 110);
    std::string text = ControlText(mainWindow, 110);
    text += name;
    text += ';';
    SetWindowTextW(events, Wide(text).c_str());
}

void CopyEditText() {
    std::string text = ControlText(mainWindow, 101);
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!block) return;
    char* bytes = static_cast<char*>(GlobalLock(block.get()));
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(block.get());
    OpenedClipboard clipboard(mainWindow);
    if (!clipboard || !EmptyClipboard() || SetClipboardData(CF_TEXT, block.get()) == nullptr) return;
    block.release();
    Event("copied");
}

HWND Make(const wchar_t* cls, std::string_view text, DWORD style, int id, int x, int y, int cx, int cy) {
    return CreateWindowExW(0, cls, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, mainWindow,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

void Populate() {
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    Make(L"EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 101, 10, 10, 200, 22);
    HWND list = Make(L"LISTBOX", "", WS_BORDER | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY, 102, 10, 40, 200, 100);
    for (const char* line : {"uno", "dos", "tres \xF1", "\xBF" "cuatro?", "cinco \x80"}) {
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(line).c_str()));
    }
    Make(L"BUTTON", "Marca", WS_TABSTOP | BS_AUTOCHECKBOX, 103, 220, 10, 120, 22);
    Make(L"BUTTON", "Mensaje", WS_TABSTOP | BS_PUSHBUTTON, 104, 220, 40, 120, 24);
    Make(L"BUTTON", "Copiar", WS_TABSTOP | BS_PUSHBUTTON, 105, 220, 70, 120, 24);
    EnableWindow(Make(L"BUTTON", "Apagado", WS_TABSTOP | BS_PUSHBUTTON, 106, 220, 100, 120, 24), FALSE);
    Make(L"BUTTON", "&Repetir", WS_TABSTOP | BS_PUSHBUTTON, 107, 220, 130, 120, 24);
    Make(L"BUTTON", "Pregunta", WS_TABSTOP | BS_PUSHBUTTON, 108, 220, 160, 120, 24);
    Make(L"BUTTON", "Retener", WS_TABSTOP | BS_PUSHBUTTON, 109, 220, 190, 120, 24);
    Make(L"STATIC", "", SS_LEFT, 110, 10, 150, 200, 40);
    for (HWND child = GetWindow(mainWindow, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case 102:
            if (HIWORD(wParam) == LBN_DBLCLK) {
                Event("dblclk:" + std::to_string(SendDlgItemMessageW(window, 102, LB_GETCURSEL, 0, 0)));
            }
            return 0;
        case 104:
            MessageBoxW(nullptr, Wide(MessageText).c_str(), Wide(MessageTitle).c_str(), MB_OK | MB_ICONWARNING);
            Event("ok");
            return 0;
        case 105: CopyEditText(); return 0;
        case 106: Event("disabled"); return 0;
        case 107: Event("repeat"); return 0;
        case 109:
            if (OpenClipboard(window)) {
                Event("held");
                SetTimer(window, 1, 300, nullptr);
            }
            return 0;
        case 108:
            Event(MessageBoxW(window, L"\u00BFOtra vez?", L"Pregunta", MB_YESNO) == IDYES ? "yes" : "no");
            return 0;
        }
        break;
    case WM_TIMER:
        KillTimer(window, wParam);
        CloseClipboard();
        Event("released");
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = TargetProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = TargetClass;
    RegisterClassW(&cls);
    mainWindow = CreateWindowExW(0, TargetClass, Wide("Blanco de pruebas \xB7 driver").c_str(),
                                 WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 420, 40, 360, 260, nullptr, nullptr,
                                 instance, nullptr);
    if (mainWindow == nullptr) return 3;
    Populate();
    ShowWindow(mainWindow, SW_SHOWNORMAL);
    UpdateWindow(mainWindow);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Keyboard navigation and mnemonics as in a dialog.
        if (IsDialogMessageW(mainWindow, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
