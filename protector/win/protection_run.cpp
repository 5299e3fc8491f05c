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
#include "sleep_period.h"
#include "text1252.h"
#include "unique.h"
#include "win_text.h"

namespace {

constexpr std::size_t FolderLimit = 2255;

// The picked folder with its backslash; empty when the pick was cancelled. Nothing when the chosen folder's
// name cannot be written or its path is too long to search: the user has been told, and the run ends.
std::optional<std::string> PickWithBackslash(HWND dialog, std::size_t limit) {
    FolderPick pick = PickFolder(dialog, ProtectorPickerLine);
    if (!pick.Problem().empty()) {
        ShowMessage(pick.Problem(), ProgrammerTitle);
        return std::nullopt;
    }
    return WithTrailingBackslash(cp1252::CutTo(pick.folder, limit));
}

void ProtectFile(ProtectionState& state, const std::string& folder, const FolderEntry& entry) {
    if (entry.IsFolder() || !IsCandidate(entry.name)) return;
    ++state.foundCount;
    // A candidate whose name cannot be written cannot be opened either: found, and read as empty.
    if (!entry.exactName) return;
    std::string target = TargetPath(state.targetFolder, entry.name);
    SecretText text = ReadPlainText(folder + entry.name, MaxPlainText);
    if (!IsAcceptedPlainText(text)) return;
    // An earlier protected file is never replaced or extended: the writer's open refuses a target that
    // exists, also one that appeared while the read served the message queue. That open is the run's one look
    // at the target; a separate test before it would cost as much again, since finding that a name is missing
    // means reading the whole target folder.
    if (WriteProtectedFile(target, state.programPassword, text, ExistingFile::Refuse)) {
        ++state.protectedCount;
    } else if (!PathExists(target)) {  // a target that exists is skipped: found, not protected
        ++state.failedCount;
    }
}

}  // namespace

ProtectionState& Protection() {
    static ProtectionState state;
    return state;
}

SecretText ReadPlainText(const std::string& path, std::size_t stopAbove) {
    PumpOneMessage();
    // Other programs may go on reading and writing the file meanwhile.
    UniqueFile file(CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return {};
    PlainTextJoiner joiner(stopAbove);
    char block[4096];
    while (!joiner.Done()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), block, sizeof block, &got, nullptr) || got == 0) break;
        joiner.Feed(std::string_view(block, got));
    }
    WipeObject(block);
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
    // However the run ends, it leaves no password behind: neither the program password nor the writer's
    // record (whose key the next run sets again with its first file).
    struct EndOfRun {
        ProtectionState& state;
        ~EndOfRun() {
            state.programPassword.clear();
            WipeWriterRecord();
            state.running = false;
        }
    } endOfRun{state};

    // "Salir" may be pressed while a message box of the run is open: stop at the next step.
    ShowMessage(FirstPickMessage, ProgrammerTitle);
    if (state.exitRequested) return;
    std::optional<std::string> source = PickWithBackslash(dialog, FolderLimit);
    if (!source || state.exitRequested) return;
    state.sourceFolder = *source;
    ShowMessage(SecondPickMessage, ProgrammerTitle);
    if (state.exitRequested) return;
    std::optional<std::string> target = PickWithBackslash(dialog, FolderLimit);
    if (!target || state.exitRequested) return;
    state.targetFolder = *target;
    if (state.sourceFolder.empty() || state.targetFolder.empty()) {
        ShowMessage(CancelledMessage, ProgrammerTitle);
        return;
    }

    state.foundCount = 0;
    state.protectedCount = 0;
    state.failedCount = 0;
    // Nothing when a typed character has no Windows-1252 byte.
    std::optional<SecretText> typed = SecretControlTextExact(dialog, PasswordBox);
    if (!typed) {
        ShowMessage(PasswordCharactersMessage, ProgrammerTitle);
        return;
    }
    if (!IsProgramPasswordAccepted(*typed)) {
        ShowMessage(PasswordLengthMessage, ProgrammerTitle);
        return;
    }
    state.programPassword = std::move(*typed);

    {
        // The scan sleeps 1 ms per file when no message waits.
        FineSleepPeriod fineSleeps;
        ScanAndProtect(state, state.sourceFolder);
    }
    if (state.exitRequested) return;
    ShowMessage(ClosingMessage(state.foundCount, state.protectedCount, state.failedCount), ProgrammerTitle);
}
