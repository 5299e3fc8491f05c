#include "protection_run.h"

#include "file_names.h"
#include "folder_picker.h"
#include "folder_prompt.h"
#include "folder_walk.h"
#include "platform.h"
#include "plain_text.h"
#include "protected_file.h"
#include "protection_rules.h"
#include "protector_dialog.h"
#include "protector_texts.h"
#include "text1252.h"
#include "unique.h"
#include "win_text.h"

namespace {

constexpr std::size_t FolderLimit = 2255;

// The picked folder with its backslash; empty when the pick was cancelled.
std::string PickWithBackslash(HWND dialog, std::size_t limit) {
    return WithTrailingBackslash(cp1252::CutTo(PickFolder(dialog, ProtectorPickerLine), limit));
}

void ProtectFile(ProtectionState& state, const std::string& folder, const FolderEntry& entry) {
    if (entry.IsFolder() || !IsCandidate(entry.name)) return;
    ++state.foundCount;
    std::string target = TargetPath(state.targetFolder, entry.name);
    // An earlier protected file is never replaced or extended.
    if (PathExists(target)) return;
    std::string text = ReadPlainText(folder + entry.name, MaxPlainText);
    if (!IsAcceptedPlainText(text)) return;
    // Only a new file: one that appeared while the read served the message queue is left as it is (and
    // counted as not written). Refused by the open itself, which costs no second look at the target.
    if (WriteProtectedFile(target, state.programPassword, text, ExistingFile::Refuse)) {
        ++state.protectedCount;
    } else {
        ++state.failedCount;
    }
}

}  // namespace

ProtectionState& Protection() {
    static ProtectionState state;
    return state;
}

std::string ReadPlainText(const std::string& path, std::size_t stopAbove) {
    PumpOneMessage();
    // Other programs may go on reading and writing the file meanwhile.
    UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return {};
    PlainTextJoiner joiner(stopAbove);
    char block[4096];
    while (!joiner.Done()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), block, sizeof block, &got, nullptr) || got == 0) break;
        joiner.Feed(std::string_view(block, got));
    }
    return joiner.Text();
}

void ScanAndProtect(ProtectionState& state, const std::string& folder) {
    if (state.exitRequested) return;
    ForEachEntry(folder, "*.*", [&](const FolderEntry& entry) {
        if (!state.exitRequested) ProtectFile(state, folder, entry);
    });
    ForEachEntry(folder, "*", [&](const FolderEntry& entry) {
        if (!state.exitRequested && entry.IsSubfolderToEnter()) ScanAndProtect(state, folder + entry.name + "\\");
    });
}

void RunProtection(HWND dialog) {
    ProtectionState& state = Protection();
    if (state.running) return;
    state.running = true;
    struct EndOfRun {
        ProtectionState& state;
        ~EndOfRun() { state.running = false; }
    } endOfRun{state};

    // "Salir" may be pressed while a message box of the run is open: stop at the next step.
    ShowMessage(FirstPickMessage, ProgrammerTitle);
    if (state.exitRequested) return;
    state.sourceFolder = PickWithBackslash(dialog, FolderLimit);
    ShowMessage(SecondPickMessage, ProgrammerTitle);
    if (state.exitRequested) return;
    state.targetFolder = PickWithBackslash(dialog, FolderLimit);
    if (state.exitRequested) return;
    if (state.sourceFolder.empty() || state.targetFolder.empty()) {
        ShowMessage(CancelledMessage, ProgrammerTitle);
        return;
    }

    state.foundCount = 0;
    state.protectedCount = 0;
    state.failedCount = 0;
    // Nothing when a typed character has no Windows-1252 byte.
    std::optional<std::string> typed = NarrowExact(ControlTextWide(dialog, PasswordBox));
    if (!typed) {
        ShowMessage(PasswordCharactersMessage, ProgrammerTitle);
        return;
    }
    if (!IsProgramPasswordAccepted(*typed)) {
        ShowMessage(PasswordLengthMessage, ProgrammerTitle);
        return;
    }
    state.programPassword = *typed;

    ScanAndProtect(state, state.sourceFolder);
    if (state.exitRequested) return;
    ShowMessage(ClosingMessage(state.foundCount, state.protectedCount, state.failedCount), ProgrammerTitle);
}
