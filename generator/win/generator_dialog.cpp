#include "generator_dialog.h"

#include <windows.h>

#include "create_password.h"
#include "dictionary.h"
#include "file_names.h"
#include "generator_state.h"
#include "generator_template.h"
#include "output_path.h"
#include "platform.h"
#include "saved_focus.h"
#include "win_text.h"

HWND GeneratorDialog = nullptr;
std::string ProgramFolder;
GeneratorModes Modes;
RandomSource Random;
CharacterTables Tables;
bool ExitRequested = false;

TimeOfDay LocalTimeOfDay() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

namespace {

HFONT NormalFont = nullptr;
HFONT BoldFont = nullptr;
HWND SavedFocus = nullptr;

constexpr int CountLists[] = {TotalList, PerLineList, DigitsList, LettersList, SignsList};
// The inputs the dictionary mode does not use; greyed out while it is on, so the user sees what counts.
constexpr int UnusedInDictionaryMode[] = {PerLineList, DigitsList, LettersList, SignsList, HexCheck};

void FillCountList(HWND dialog, int listId, int lastValue) {
    HWND list = GetDlgItem(dialog, listId);
    // The values come in ascending order, which their leading zeros make the sorted order too: each one goes
    // at the end (a sorted list does not sort what LB_INSERTSTRING adds), so no item is compared with the
    // others. The storage for all of them is taken at once, and the list leaves its scroll bar and drawing
    // alone until the last one is in.
    const WPARAM count = static_cast<WPARAM>(lastValue) + 1;
    SendMessageW(list, LB_INITSTORAGE, count, static_cast<LPARAM>(count * 4 * sizeof(wchar_t)));
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (int value = 0; value <= lastValue; ++value)
        SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(Wide(ThreeDigitNumber(value)).c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

void AssignFonts(HWND dialog) {
    for (int id : {TotalLabel, PerLineLabel, DigitsLabel, LettersLabel, SignsLabel, CaseFrame, LowerOption,
                   UpperOption, MixedOption, HexCheck, CreateButton, ExitButton})
        AssignFont(dialog, id, NormalFont);
    AssignFont(dialog, FileNameBox, BoldFont);
    AssignFont(dialog, FileNameLabel, NormalFont);
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Initialise(HWND dialog) {
    GeneratorDialog = dialog;
    SetPumpDialog(dialog);
    SetWindowIcons(dialog, 200);
    AssignFonts(dialog);
    for (int id : CountLists) FillCountList(dialog, id, 999);

    // The folder is refused rather than cut when it does not fit its buffer: a cut path would be another
    // folder.
    ProgramFolder.clear();
    if (auto path = ProgramFilePath(32767))
        if (auto folder = ProgramFolderOf(*path)) ProgramFolder = *folder;

    Random.Reseed(LocalTimeOfDay());
    CheckRadioButton(dialog, LowerOption, MixedOption, LowerOption);
    Modes.LowerMode = IsChecked(dialog, LowerOption) ? 1 : 0;
    Modes.HexLetters = Modes.UpperMode = Modes.MixedMode = 0;
    Tables = BuildCharacterTables();
    Modes.DictionaryMode = 0;
    // The word list is looked for once, here: a list added later does not enable the box in this run.
    const bool hasWordList = !ProgramFolder.empty() && PathExists(ProgramFolder + std::string(WordListName));
    EnableWindow(GetDlgItem(dialog, DictionaryCheck), hasWordList ? TRUE : FALSE);
}

void ResetCountLists(HWND dialog) {
    for (int id : CountLists) SendDlgItemMessageW(dialog, id, LB_SETCURSEL, 0, 0);
    for (int id : CountLists) SendDlgItemMessageW(dialog, id, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

void EndProgram(HWND dialog) {
    // A generation in progress sees the flag at its next pump and writes nothing more; the modal loop ends
    // once it has returned.
    ExitRequested = true;
    EndDialog(dialog, 0);
}

void OnCommand(HWND dialog, int id, int code) {
    const bool clicked = code == BN_CLICKED || code == 1;
    switch (id) {
        case LowerOption:
        case UpperOption:
        case MixedOption:
            // Read from all three buttons, so that the modes always match the options shown.
            Modes.LowerMode = IsChecked(dialog, LowerOption) ? 1 : 0;
            Modes.UpperMode = IsChecked(dialog, UpperOption) ? 1 : 0;
            Modes.MixedMode = IsChecked(dialog, MixedOption) ? 1 : 0;
            break;
        case HexCheck:
            Modes.HexLetters = IsChecked(dialog, HexCheck) ? 1 : 0;
            break;
        case DictionaryCheck:
            Modes.DictionaryMode = IsChecked(dialog, DictionaryCheck) ? 1 : 0;
            for (int unused : UnusedInDictionaryMode)
                EnableWindow(GetDlgItem(dialog, unused), Modes.DictionaryMode != 0 ? FALSE : TRUE);
            break;
        case CreateButton:
            if (clicked) CreatePassword();
            break;
        case ResetButton:
            // Also during a generation: the run read its counts when it started.
            if (clicked) ResetCountLists(dialog);
            break;
        case ExitButton:
            if (clicked) EndProgram(dialog);
            break;
        default:
            break;
    }
}

INT_PTR CALLBACK GeneratorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    try {
        switch (message) {
            case WM_INITDIALOG:
                Initialise(dialog);
                return FALSE;
            case WM_NCACTIVATE:
                KeepFocusAcrossActivation(SavedFocus, wParam != 0);
                return FALSE;
            case WM_COMMAND:
                OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
                return FALSE;
            case WM_SYSCOMMAND:
                if ((wParam & 0xFFF0) == SC_CLOSE) {
                    EndProgram(dialog);
                    return TRUE;
                }
                return FALSE;
            default:
                return FALSE;
        }
    } catch (...) {
        // Nothing may unwind into USER32; the only throw possible here is running out of memory.
        return FALSE;
    }
}

}  // namespace

int ShowGeneratorDialog() {
    UniqueFont normal = MakeFont({.face = "Tahoma", .points = 10, .weight = FW_NORMAL});
    UniqueFont bold = MakeFont({.face = "Tahoma", .points = 10, .weight = FW_BOLD});
    NormalFont = normal.get();
    BoldFont = bold.get();
    const INT_PTR result = RunModalDialog(GeneratorTemplate(), nullptr, GeneratorDialogProc);
    SetPumpDialog(nullptr);
    normal.reset();
    bold.reset();
    return static_cast<int>(result);
}
