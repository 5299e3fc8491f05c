#include "main_dialog.h"

#include <windows.h>

#include <vector>

#include "clipboard_writer.h"
#include "control_font.h"
#include "file_list.h"
#include "file_names.h"
#include "folder_picker.h"
#include "folder_prompt.h"
#include "hot_keys.h"
#include "list_scan.h"
#include "loader_commands.h"
#include "loader_texts.h"
#include "login_dialog.h"
#include "message_on_top.h"
#include "platform.h"
#include "saved_focus.h"
#include "win_text.h"

namespace {

enum MainControl { FileList = 130, SubfoldersCheck = 134, LoadButton = 132, ResetButton = 136, HelpButton = 9 };

// Posted at initialisation when some hot keys could not be registered: said once the dialog is on screen.
constexpr UINT SayHotKeysTaken = WM_APP + 1;

// Program-wide state: it lives for the whole run, as the dialog does.
LoaderState state;
HWND mainDialog = nullptr;
HWND fileListWindow = nullptr;
HWND savedFocus = nullptr;
HotKeyAtoms hotKeyAtoms{};
HotKeyPresses hotKeyPresses;
LoaderFontCache fontCache;

class WindowEffects : public LoaderEffects {
public:
    ClipboardResult PutText(std::string_view text) override { return PutTextOnClipboard(text); }
    ClipboardResult EmptyClipboard() override { return EmptyTheClipboard(); }
    void Show(std::string_view text, std::string_view title, unsigned style) override { ShowMessageOnTop(text, title, style); }
    void ShowWindow(bool shown) override { ::ShowWindow(mainDialog, shown ? SW_SHOW : SW_HIDE); }
};

DialogTemplate MainTemplate() {
    DialogFrame frame;
    frame.caption = MainCaption;
    frame.style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CAPTION | DS_MODALFRAME;
    frame.exStyle = WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
    frame.cx = 280;
    frame.cy = 230;
    DialogTemplate t(frame);
    constexpr DWORD push = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    using C = ControlClass;
    t.Add({FileList, C::ListBox, "",
           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
               LBS_NOTIFY,
           WS_EX_CLIENTEDGE, 5, 5, 270, 180});
    t.Add({SubfoldersCheck, C::Button, "Incluir Subdirectorios", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
           0, 5, 210, 80, 14});
    t.Add({LoadButton, C::Button, "...", push, 0, 65, 190, 50, 14});
    t.Add({ResetButton, C::Button, "&Resetear", push, 0, 125, 190, 50, 14});
    t.Add({HelpButton, C::Button, "&Help", push, 0, 245, 210, 30, 14});
    return t;
}

void CentreOnWorkArea(HWND dialog) {
    RECT work, window;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) || !GetWindowRect(dialog, &window)) return;
    int x = work.left + ((work.right - work.left) - (window.right - window.left)) / 2;
    int y = work.top + ((work.bottom - work.top) - (window.bottom - window.top)) / 2;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

unsigned SecondsSinceMidnight() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wHour * 3600u + now.wMinute * 60u + now.wSecond;
}

void Initialise(HWND dialog) {
    mainDialog = dialog;
    SetWindowIcons(dialog, 200);
    CentreOnWorkArea(dialog);
    fileListWindow = GetDlgItem(dialog, FileList);
    SendMessageW(fileListWindow, LB_SETHORIZONTALEXTENT, 1024, 0);

    SeedLineColours(SecondsSinceMidnight());
    state.dialogVisible = true;
    hotKeyAtoms = RegisterHotKeys(dialog);
    if (!UnregisteredKeyNames(hotKeyAtoms).empty()) PostMessageW(dialog, SayHotKeysTaken, 0, 0);
    state.tables.Clear();
    state.includeSubfolders = false;
    fontCache.Clear();
    InstallListProc(fileListWindow, state.tables);
    SetControlFont(fontCache, dialog, FileList, "Tahoma", 9, 1, 0, 1, 0);
}

void Load(HWND dialog) {
    ShowLoginDialog(nullptr, state.loginPassword);  // "Salir" there does not cancel the load
    FolderPick pick = PickFolder(dialog, LoaderPickerLine);
    if (!pick.Problem().empty()) {
        ShowMessageOnTop(pick.Problem(), LoadTitle, BoxStyle::TopMost);
        return;
    }
    if (pick.folder.empty()) return;
    ChosenFolder() = WithTrailingBackslash(ChosenFolder());
    // The list repaints once at the end instead of at every line added, however the scan ends.
    struct RedrawAtEnd {
        HWND list;
        ~RedrawAtEnd() {
            SendMessageW(list, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(list, nullptr, TRUE);
        }
    };
    ScanResult result;
    {
        SendMessageW(fileListWindow, WM_SETREDRAW, FALSE, 0);
        RedrawAtEnd redraw{fileListWindow};
        result = ScanFolder(state, ChosenFolder(), fileListWindow);
    }
    switch (result) {
        case ScanResult::TablesFull:
            ShowMessageOnTop(ListFullText(), LoadTitle, MB_ICONWARNING | MB_TOPMOST);
            break;
        case ScanResult::ListRefused:
            ShowMessageOnTop(ListRefusedText(), LoadTitle, MB_ICONWARNING | MB_TOPMOST);
            break;
        case ScanResult::Complete:
            break;
    }
    ShowMessageOnTop(LoadedText, LoadTitle, BoxStyle::TopMost);
}

void Reset() {
    state.tables.Clear();
    SendMessageW(fileListWindow, LB_RESETCONTENT, 0, 0);
}

void ReportStatus() {
    int count = static_cast<int>(SendMessageW(fileListWindow, LB_GETCOUNT, 0, 0));
    std::vector<std::int32_t> values;
    for (int line = 0; line < count; ++line) {
        values.push_back(static_cast<std::int32_t>(SendMessageW(fileListWindow, LB_GETITEMDATA, line, 0)));
    }
    ShowMessageOnTop(StatusReportText(values), StatusTitle, BoxStyle::Information);
}

void DoubleClick() {
    WindowEffects effects;
    int selection = static_cast<int>(SendMessageW(fileListWindow, LB_GETCURSEL, 0, 0));
    std::string text;
    if (selection >= 0) {
        LRESULT length = SendMessageW(fileListWindow, LB_GETTEXTLEN, selection, 0);
        std::wstring wide(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
        LRESULT copied = SendMessageW(fileListWindow, LB_GETTEXT, selection, reinterpret_cast<LPARAM>(wide.data()));
        wide.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
        text = NarrowLossy(wide);
    }
    if (RunDoubleClick(state, selection, text, effects)) SendMessageW(fileListWindow, LB_SETCURSEL, -1, 0);
}

void Command(HWND dialog, int id, int code) {
    switch (id) {
        case LoadButton: Load(dialog); break;
        case ResetButton: Reset(); break;
        case SubfoldersCheck: state.includeSubfolders = IsDlgButtonChecked(dialog, SubfoldersCheck) == BST_CHECKED; break;
        case HelpButton: ShowMessageOnTop(HelpText(), PlainTitle, BoxStyle::Plain); break;
        case IDOK:
            if (code == 0) ReportStatus();
            break;
        case IDCANCEL:
            if (code == 0) EndDialog(dialog, 0);
            break;
        case FileList:
            if (code == LBN_DBLCLK) DoubleClick();
            break;
        default: break;
    }
}

void HotKey(HWND dialog, int id) {
    auto index = MatchHotKey(hotKeyAtoms, id);
    if (index && hotKeyPresses.IsNewPress(dialog, *index)) {
        WindowEffects effects;
        RunHotKey(state, HotKeys[*index], effects);
    }
}

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may throw back into USER32.
    try {
        hotKeyPresses.Watch(dialog);  // also the work of its timer's WM_TIMER
        switch (message) {
            case WM_INITDIALOG: Initialise(dialog); break;
            case WM_NCACTIVATE: KeepFocusAcrossActivation(savedFocus, wParam != FALSE); break;
            case WM_COMMAND: Command(dialog, LOWORD(wParam), HIWORD(wParam)); break;
            case WM_DRAWITEM:
                if (wParam == FileList) return ListProc(fileListWindow, message, wParam, lParam);
                break;
            case WM_HOTKEY: HotKey(dialog, static_cast<int>(wParam)); break;
            case SayHotKeysTaken:
                ShowMessageOnTop(HotKeysTakenText(UnregisteredKeyNames(hotKeyAtoms)), LoadTitle,
                                 MB_ICONWARNING | MB_TOPMOST);
                break;
            case WM_DESTROY:
                ReleaseHotKeys(dialog, hotKeyAtoms);
                RemoveListProc(fileListWindow);
                state.tables.Clear();  // the program ends: its passwords are wiped
                break;
            default: break;
        }
    } catch (...) {
    }
    return 0;
}

}  // namespace

int ShowMainDialog() {
    INT_PTR result = RunModalDialog(MainTemplate(), nullptr, MainDialogProc);
    return result == -1 ? 1 : static_cast<int>(result);
}
