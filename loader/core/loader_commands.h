// What the loader does on a double click and on its hot keys, over its program-wide state. The effects on
// the world (clipboard, message boxes, the window) go through LoaderEffects, which the Win32 layer provides.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "entry_tables.h"

enum class HotKeyCommand {
    ToggleWindow,    // ALT+P
    EmptyClipboard,  // ALT+B
    CopyName,        // ALT+N
    ReportLength,    // ALT+L
    CopyPassword,    // ALT+R
    CopyCharacter,   // ALT+1 to ALT+9
};

struct HotKeyDefinition {
    HotKeyCommand command;
    std::string_view name;  // as the messages write it: "ALT+P"
    unsigned virtualKey;
    std::string_view atomPrefix;
    int position;  // the character ALT+1 to ALT+9 copy; 0 for the others
};

constexpr unsigned AltModifier = 1;  // MOD_ALT

// The fourteen hot keys in the order they are registered (and released).
extern const std::array<HotKeyDefinition, 14> HotKeys;

// The index in HotKeys of the hot key whose identifier is `id`, given the identifiers (atoms) they were
// registered with; identifiers are compared in the order ALT+1 to ALT+9, L, N, R, P, B. An identifier of 0
// (an atom that could not be made) never matches.
std::optional<std::size_t> MatchHotKey(const std::array<std::uint16_t, 14>& atoms, int id);

// What became of the clipboard when a command wrote or emptied it.
enum class ClipboardResult {
    Done,
    Unchanged,  // another program held it: nothing was changed
    Emptied,    // it was emptied, but the text could not be set after that
};

class LoaderEffects {
public:
    virtual ~LoaderEffects() = default;
    virtual ClipboardResult PutText(std::string_view text1252) = 0;
    virtual ClipboardResult EmptyClipboard() = 0;
    virtual void Show(std::string_view text1252, std::string_view title1252, unsigned style) = 0;
    virtual void ShowWindow(bool shown) = 0;
};

struct LoaderState {
    EntryTables tables;
    int currentLine = 0;  // list line (from 0) whose entry the hot keys use
    bool dialogVisible = true;
    bool includeSubfolders = false;
    SecretText loginPassword;

    int CurrentSlot() const { return currentLine + 1; }
};

// The n-th character (from 1) of the text, or the empty text when it is shorter.
std::string_view NthCharacter(std::string_view text, int n);

void RunHotKey(LoaderState& state, const HotKeyDefinition& key, LoaderEffects& effects);

// The double click on list line `selection` (-1: none) whose text is `lineText`: puts the line's password on
// the clipboard and, once it is there, marks or unmarks the line's slot; a copy that failed is said and leaves
// the mark as it was. Gives false, having changed nothing, when no line is selected or the line has no slot;
// the caller then leaves the selection alone too.
bool RunDoubleClick(LoaderState& state, int selection, std::string_view lineText, LoaderEffects& effects);

// The scan lists a file when its stored key equals the login password, both trimmed of blanks; letter
// case counts.
bool KeyMatches(std::string_view storedKey, std::string_view loginPassword);

// The space bar's new check value for the selected line; nothing when no line is selected, so that no line
// is touched.
std::optional<std::int32_t> ToggledCheckValue(int selection, std::int32_t value);
