#include "create_password.h"

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "composition.h"
#include "dictionary.h"
#include "generator_state.h"
#include "output_path.h"
#include "password_file.h"
#include "platform.h"
#include "sleep_period.h"
#include "win_text.h"

namespace {

// State of the run, program-wide as the rest of the generator's.
std::string OutputFileName;
PasswordCounts Counts;
SecretText SlotClass;         // where the digits, letters and signs go: it tells much of the password
SecretText ComposedPassword;  // both wiped at the end of every run
// True while CreatePassword runs: a "Crear" that arrives through the run's own pumping is ignored.
bool Generating = false;

constexpr std::string_view MessageTitle = "...";
constexpr std::string_view PasswordCreated = "password creado ...";

// Patience for a dictionary word that exists in the list but keeps not being drawn. Line numbers come from a
// seed that changes only every few milliseconds, so an 18-letter word can take several seconds.
constexpr ULONGLONG WordSearchLimitMs = 60000;

void Tell(std::string_view text1252) { ShowMessage(text1252, MessageTitle, MB_OK); }

bool KeepGenerating() {
    PumpOneMessage();
    return !ExitRequested;
}

// The number the selected item shows; 0 when nothing is selected.
std::int16_t SelectedCount(int listId) {
    HWND list = GetDlgItem(GeneratorDialog, listId);
    const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return 0;
    wchar_t text[16] = {};
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0 || length >= 16) return 0;
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return static_cast<std::int16_t>(std::wcstol(text, nullptr, 10));
}

// The file name exactly as typed, or nothing when it holds a character Windows-1252 cannot write.
std::optional<std::string> TypedFileName() { return NarrowExact(ControlTextWide(GeneratorDialog, FileNameBox)); }

// The path of the password file, or nothing (the user has been told why) when it cannot be used as typed.
std::optional<std::string> UsableOutputPath(bool nameIsExact) {
    if (!nameIsExact) {
        Tell(FileNameUnusableMessage);
        return std::nullopt;
    }
    if (ProgramFolder.empty()) {
        Tell(ProgramFolderUnusableMessage);
        return std::nullopt;
    }
    if (NamesAStream(OutputFileName)) {
        Tell(FileNameUnusableMessage);
        return std::nullopt;
    }
    if (NamesADevice(OutputFileName)) {
        Tell(DeviceNameMessage);
        return std::nullopt;
    }
    auto path = OutputPath(ProgramFolder, OutputFileName);
    if (!path) Tell(PathTooLongMessage(ProgramFolder, OutputFileName));
    return path;
}

// Appends the line and confirms it; a line that could not be written is reported instead, naming the file.
bool WritePasswordLine(const std::string& path, std::string_view line, std::size_t lineIndex, std::size_t lineCount) {
    switch (AppendPasswordLine(path, line)) {
        case LineWrite::Written:
            Tell(PasswordCreated);
            return true;
        case LineWrite::NotADiskFile:
            Tell(NotADiskFileMessage(path));
            return false;
        case LineWrite::Failed:
            break;
    }
    Tell(WriteFailedMessage(path, lineIndex, lineCount));
    return false;
}

void CreateDictionaryPassword(bool nameIsExact) {
    if (auto error = DictionaryError(Counts.TotalCount, OutputFileName)) {
        Tell(*error);
        return;
    }
    const auto path = UsableOutputPath(nameIsExact);
    if (!path) return;

    const std::string listPath = ProgramFolder + std::string(WordListName);
    bool listRead = false;
    bool outOfTime = false;
    WordSearchResult found;
    SecretText word;
    {
        // The search pauses 1 ms per draw, and every draw reseeds from the clock, which moves every millisecond
        // only while the period is held. Released before any box is shown.
        FineSleepPeriod fineSleeps;
        Random.Reseed(LocalTimeOfDay());
        // Read once per run and kept for all its draws; the draws and the words are those of a line-by-line
        // reading of the same file.
        const auto bytes = ReadWholeWordList(listPath);
        listRead = bytes.has_value();
        if (listRead) {
            const std::vector<std::string> lines = WordListLinesOf(*bytes);
            const ULONGLONG deadline = GetTickCount64() + WordSearchLimitMs;
            found = SearchWord(lines, Counts.TotalCount, Random, LocalTimeOfDay, [&] {
                if (!KeepGenerating()) return false;
                outOfTime = GetTickCount64() > deadline;
                return !outOfTime;
            });
            if (found.outcome == WordSearch::Found) word = FinishWord(found.word, Modes, Random, LocalTimeOfDay);
        }
    }
    if (!listRead) {
        Tell(WordListUnreadableMessage(listPath));
        return;
    }
    switch (found.outcome) {
        case WordSearch::NoSuchWord:
            Tell(NoSuchWordMessage(Counts.TotalCount));
            return;
        case WordSearch::Stopped:
            if (outOfTime) Tell(WordNotFoundInTimeMessage(Counts.TotalCount, static_cast<int>(WordSearchLimitMs / 1000)));
            return;
        case WordSearch::Found:
            break;
    }
    WritePasswordLine(*path, word, 0, 1);
}

void ComposeAndWrite(bool nameIsExact) {
    Counts.PerLineCount = SelectedCount(PerLineList);
    Counts.DigitCount = SelectedCount(DigitsList);
    Counts.LetterCount = SelectedCount(LettersList);
    Counts.SignCount = SelectedCount(SignsList);
    if (auto error = CountsError(Counts, OutputFileName)) {
        Tell(*error);
        return;
    }
    // Every check is made before the first line is written, so a refused path leaves no partial password.
    const auto path = UsableOutputPath(nameIsExact);
    if (!path) return;

    SlotClass.clear();
    ComposedPassword.clear();
    {
        // Placement and composition pause 1 ms per step.
        FineSleepPeriod fineSleeps;
        auto slots = PlaceClasses(Counts, Modes, Random, KeepGenerating);
        if (!slots) return;
        SlotClass = std::move(*slots);
        auto composed = ComposeCharacters(SlotClass, Modes, Tables, Random, KeepGenerating);
        if (!composed) return;
        ComposedPassword = std::move(*composed);
    }

    const std::vector<SecretText> lines = CutIntoLines(ComposedPassword, Counts.PerLineCount);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        {
            // Held for the line's own step only: the box of the line before may have waited for hours.
            FineSleepPeriod fineSleeps;
            if (!KeepGenerating()) return;
        }
        if (!WritePasswordLine(*path, lines[i], i, lines.size())) return;
        if (ExitRequested) return;  // "Salir" while the confirmation was shown
    }
}

}  // namespace

void CreatePassword() {
    // The run is not re-entered: a "Crear" that arrives through its own message pumping is ignored.
    if (Generating || ExitRequested) return;
    // However the run ends, the password it made is wiped: between runs the program holds none.
    struct RunFlag {
        RunFlag() { Generating = true; }
        ~RunFlag() {
            SlotClass.clear();
            ComposedPassword.clear();
            Generating = false;
        }
    } running;

    const auto exactName = TypedFileName();
    // A name Windows-1252 cannot write still goes through the ordinary checks first, as the user sees it.
    OutputFileName = exactName ? *exactName : ControlText(GeneratorDialog, FileNameBox);
    Counts = PasswordCounts{};
    Counts.TotalCount = SelectedCount(TotalList);
    if (Modes.DictionaryMode != 0) {
        CreateDictionaryPassword(exactName.has_value());
        return;
    }
    ComposeAndWrite(exactName.has_value());
}
