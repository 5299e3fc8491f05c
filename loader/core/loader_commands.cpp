#include "loader_commands.h"

#include "loader_texts.h"
#include "text1252.h"

const std::array<HotKeyDefinition, 14> HotKeys = {{
    {HotKeyCommand::ToggleWindow, "ALT+P", 0x50, "My Hotkey2", 0},
    {HotKeyCommand::EmptyClipboard, "ALT+B", 0x42, "My HotkeyDel", 0},
    {HotKeyCommand::CopyName, "ALT+N", 0x4E, "My Hotkeynf", 0},
    {HotKeyCommand::ReportLength, "ALT+L", 0x4C, "My Hotkeyl234567890", 0},
    {HotKeyCommand::CopyPassword, "ALT+R", 0x52, "My Hotkey2rn", 0},
    {HotKeyCommand::CopyCharacter, "ALT+1", 0x31, "My_Hotkeypos1", 1},
    {HotKeyCommand::CopyCharacter, "ALT+2", 0x32, "My_Hotkeypos2", 2},
    {HotKeyCommand::CopyCharacter, "ALT+3", 0x33, "My_Hotkeypos3", 3},
    {HotKeyCommand::CopyCharacter, "ALT+4", 0x34, "My_Hotkeypos4", 4},
    {HotKeyCommand::CopyCharacter, "ALT+5", 0x35, "My_Hotkeypos5", 5},
    {HotKeyCommand::CopyCharacter, "ALT+6", 0x36, "My_Hotkeypos6", 6},
    {HotKeyCommand::CopyCharacter, "ALT+7", 0x37, "My_Hotkeypos7", 7},
    {HotKeyCommand::CopyCharacter, "ALT+8", 0x38, "My_Hotkeypos8", 8},
    {HotKeyCommand::CopyCharacter, "ALT+9", 0x39, "My_Hotkeypos9", 9},
}};

std::optional<std::size_t> MatchHotKey(const std::array<std::uint16_t, 14>& atoms, int id) {
    // ALT+1..9 (indexes 5-13), then L, N, R, P, B.
    static constexpr std::size_t order[] = {5, 6, 7, 8, 9, 10, 11, 12, 13, 3, 2, 4, 0, 1};
    if (id == 0) return std::nullopt;
    for (std::size_t index : order) {
        if (atoms[index] != 0 && atoms[index] == id) return index;
    }
    return std::nullopt;
}

std::string_view NthCharacter(std::string_view text, int n) {
    if (n < 1 || static_cast<std::size_t>(n) > text.size()) return {};
    return text.substr(static_cast<std::size_t>(n) - 1, 1);
}

namespace {
// Puts the text on the clipboard; when that fails, says what was not copied and gives false.
bool Copy(std::string_view text, std::string_view what, std::string_view title, LoaderEffects& effects) {
    const ClipboardResult result = effects.PutText(text);
    if (result == ClipboardResult::Done) return true;
    effects.Show(ClipboardBusyText(what, result == ClipboardResult::Emptied), title, BoxStyle::Plain);
    return false;
}
}  // namespace

void RunHotKey(LoaderState& state, const HotKeyDefinition& key, LoaderEffects& effects) {
    const int slot = state.CurrentSlot();
    switch (key.command) {
        case HotKeyCommand::CopyCharacter:
            Copy(NthCharacter(state.tables.Data(slot), key.position), CharacterWhat(key.position), PlainTitle,
                 effects);
            break;
        case HotKeyCommand::ReportLength:
            effects.Show(LengthText(state.tables.Data(slot).size()), PlainTitle, BoxStyle::Plain);
            break;
        case HotKeyCommand::CopyName:
            if (Copy(state.tables.Name(slot), NameWhat, PlainTitle, effects))
                effects.Show(NameCopiedText, PlainTitle, BoxStyle::Plain);
            break;
        case HotKeyCommand::CopyPassword:
            if (Copy(state.tables.Data(slot), PasswordWhat, PasswordTitle, effects))
                effects.Show(PasswordCopiedText, PasswordTitle, BoxStyle::Plain);
            break;
        case HotKeyCommand::ToggleWindow:
            state.dialogVisible = !state.dialogVisible;
            effects.ShowWindow(state.dialogVisible);
            break;
        case HotKeyCommand::EmptyClipboard:
            effects.Show(effects.EmptyClipboard() == ClipboardResult::Done ? ClipboardEmptiedText : ClipboardNotEmptiedText,
                         PlainTitle, BoxStyle::Plain);
            break;
    }
}

bool RunDoubleClick(LoaderState& state, int selection, std::string_view lineText, LoaderEffects& effects) {
    if (selection < 0 || !EntryTables::IsSlot(selection + 1)) return false;
    state.currentLine = selection;
    const int slot = state.CurrentSlot();
    if (Copy(state.tables.Data(slot), PasswordWhat, PlainTitle, effects)) ToggleMark(state.tables, slot, lineText);
    return true;
}

bool KeyMatches(std::string_view storedKey, std::string_view loginPassword) {
    return cp1252::TrimmedView(storedKey) == cp1252::TrimmedView(loginPassword);
}

std::optional<std::int32_t> ToggledCheckValue(int selection, std::int32_t value) {
    if (selection < 0) return std::nullopt;
    return 1 - value;
}
