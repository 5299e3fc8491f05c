// suite_bench.exe: measures the real programs under Wine, driven from outside as the end-to-end tests drive
// them, and prints each figure beside its floor measured (or worked out) in the same run.
//
//   suite_bench [--quick]     --quick: fewer repetitions, for a look at the figures rather than numbers to quote
//   suite_bench --starts      the start figures alone
//
// While a program works, the waits here only look for its dialogs, sending it nothing: a sent message (such as
// WM_GETTEXT) would be handled by the program's pump in place of its 1 ms sleep and flatter the figure.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "dictionary.h"
#include "driver.h"
#include "floors.h"
#include "folder_walk.h"
#include "platform.h"
#include "protected_file.h"
#include "protection_rules.h"
#include "protector_texts.h"
#include "sleep_period.h"
#include "unique.h"
#include "win_text.h"

using namespace e2e;

namespace {

constexpr char ClaverixCaption[] = "Claverix ...";
constexpr char SellomarCaption[] = "Protege tus contrase\xF1" "as, es lo mejor ...";
constexpr char PortaclipCaption[] = "Desde aqui todas tus contrase\xF1" "as ...";
constexpr char LoginCaption[] = "Acceda con su contrase\xF1" "a ...";
constexpr char BareCaption[] = "Bare ...";
constexpr char DialogClass[] = "#32770";
constexpr char Created[] = "password creado ...";
constexpr char Loaded[] = "Ya he cargado, GRACIAS!!!";
constexpr char Key[] = "banco 2026";

// Claverix's controls.
constexpr int TotalList = 1005, PerLineList = 1006, DigitsList = 1007, LettersList = 1008, SignsList = 1020;
constexpr int CreateButton = 1014, ExitButton = 1015, FileNameBox = 1016, DictionaryCheck = 1021;
// Sellomar's and Portaclip's.
constexpr int PasswordBox = 1002, SearchButton = 1004, CloseButton = 1005;
constexpr int LoadButton = 132, FileList = 130, FirstEntry = 7005, SecondEntry = 7006, AcceptLogin = 7010;

int failures = 0;

void Say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

void Fail(const std::string& what) {
    ++failures;
    Say("  FAILED: %s\n", what.c_str());
}

double NowMs() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency);
}

std::int64_t LocalMs() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return MillisecondsOf(TimeOfDay{now.wHour, now.wMinute, now.wSecond, now.wMilliseconds});
}

// How often the waits here look: every millisecond or two, as the driver's 15 ms is coarse beside a start of
// a few hundred milliseconds; every 10 ms while a long loop runs. Each look is a few requests to Wine's one
// server, which also ends each 1 ms pause of the program on its timer: looking every millisecond made those
// pauses half a millisecond longer. 10 ms is 0.1 % of a 999-character password.
constexpr DWORD FinePollMs = 1;
constexpr DWORD LongRunPollMs = 10;

bool WaitFine(const std::function<bool()>& predicate, double timeoutMs, DWORD pollMs = FinePollMs) {
    const double end = NowMs() + timeoutMs;
    for (;;) {
        if (predicate()) return true;
        if (NowMs() > end) return predicate();
        Sleep(pollMs);
    }
}

// A visible dialog-class top window of the process other than `besides`, found without sending it anything.
// Only the desktop's dialogs are looked at: every window looked at costs a request to Wine's server.
HWND QuietDialog(DWORD pid, HWND besides = nullptr) {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, Wide(DialogClass).c_str(), nullptr)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid && window != besides && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

HWND WaitQuietDialog(DWORD pid, HWND besides, double timeoutMs, DWORD pollMs = FinePollMs) {
    HWND found = nullptr;
    WaitFine([&] { return (found = QuietDialog(pid, besides)) != nullptr; }, timeoutMs, pollMs);
    return found;
}

std::string BinPath(std::string_view name) { return WinePath(BIN_FOLDER_LINUX) + "\\" + std::string(name); }

std::string CopyInto(const std::string& from, const ScratchFolder& folder, std::string_view name) {
    const std::string to = folder / name;
    if (!CopyFileW(Wide(from).c_str(), Wide(to).c_str(), FALSE)) Fail("cannot copy " + from);
    return to;
}

// Answers the message box that is up with OK, checking its text; false when it is another.
bool AnswerBox(DWORD pid, std::string_view expected) {
    auto box = WaitForMessageBox(pid);
    if (!box) {
        Fail("no message box \"" + std::string(expected) + "\"");
        return false;
    }
    if (box->text != expected) Fail("message \"" + box->text + "\" instead of \"" + std::string(expected) + "\"");
    AnswerMessageBox(*box);
    return box->text == expected;
}

// Picks the folder and returns once the browse dialog is gone, seen within a millisecond: what follows the
// pick is timed from there.
bool PickFolder(DWORD pid, const std::string& folder) {
    auto browse = WaitForBrowseDialog(pid);
    if (!browse || !BrowseSelect(*browse, folder) || !Click(browse->ok) ||
        !WaitFine([&] { return !IsWindow(browse->window) || !IsWindowVisible(browse->window); }, 10000)) {
        Fail("cannot pick " + folder);
        return false;
    }
    return true;
}

bool SelectCount(HWND dialog, int listId, int value) {
    HWND list = Control(dialog, listId);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(value), 0);
    return ListSelection(list) == value;
}

// ---------------------------------------------------------------------------------------------------------
// Start-up: from CreateProcess to the program's dialog on screen.

// The process's peak working set so far, in MB; negative when it cannot be read.
double PeakWorkingSetMb(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return -1;
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

void SayLine(std::string_view name, const std::vector<double>& values, std::string_view unit,
             std::optional<double> ratio = std::nullopt) {
    Say("%s\n", FigureLine(name, SpreadOf(values), unit, ratio).c_str());
}

struct StartFigures {
    double ms = -1;      // negative when the dialog did not come
    double peakMb = -1;  // the peak working set once the dialog is visible
};

// Starts the program and waits for its dialog, answering first a registration message (Sellomar, first start
// in the prefix).
StartFigures StartOnce(const std::string& exe, const std::string& folder, std::string_view caption, bool measured) {
    StartFigures figures;
    const double start = NowMs();
    Program program = Program::Launch(exe, folder);
    if (!program) {
        Fail(program.Error());
        return figures;
    }
    HWND dialog = WaitQuietDialog(program.Pid(), nullptr, 20000);
    const double shown = NowMs();
    const double peakMb = PeakWorkingSetMb(program.Handle());
    if (dialog != nullptr && WindowText(dialog) != caption) {
        if (measured) Fail(WindowText(dialog).append(" came before the dialog"));
        if (auto box = ReadMessageBox(dialog)) AnswerMessageBox(*box);
        dialog = WaitForTopWindow(program.Pid(), caption, DialogClass);
    }
    if (dialog == nullptr) {
        Fail("no dialog \"" + std::string(caption) + "\"");
        return figures;
    }
    program.Kill();
    figures.ms = shown - start;
    figures.peakMb = peakMb;
    return figures;
}

void BenchStarts(int runs) {
    Say("\nStart to visible dialog (%d starts each, after one unmeasured start); ratio of the medians\n", runs);
    ScratchFolder folder;
    struct Subject {
        std::string exe;
        const char* caption;
        std::vector<double> times;
        std::vector<double> peaks;
    } subjects[] = {{CopyInto(WinePath(BARE_DIALOG_LINUX), folder, "bare_dialog.exe"), BareCaption, {}, {}},
                    {CopyInto(BinPath("Claverix.exe"), folder, "Claverix.exe"), ClaverixCaption, {}, {}},
                    {CopyInto(BinPath("Sellomar.exe"), folder, "Sellomar.exe"), SellomarCaption, {}, {}},
                    {CopyInto(BinPath("Portaclip.exe"), folder, "Portaclip.exe"), PortaclipCaption, {}, {}},
                    {CopyInto(WinePath(TEMPLATE_DIALOG_LINUX), folder, "template_dialog.exe"), ClaverixCaption, {}, {}}};
    // The first start of a file is slower (its pages are not cached yet), and the session itself warms up:
    // one unmeasured start each, then the programs in turns, so a drift touches them all alike. Each turn
    // begins with another program: Wine still tidies up after the one ended before, and that should not
    // always fall on the same one.
    const std::size_t count = std::size(subjects);
    for (auto& s : subjects) StartOnce(s.exe, folder.Path(), s.caption, false);
    for (int i = 0; i < runs; ++i) {
        for (std::size_t k = 0; k < count; ++k) {
            auto& s = subjects[(static_cast<std::size_t>(i) + k) % count];
            const StartFigures figures = StartOnce(s.exe, folder.Path(), s.caption, true);
            if (figures.ms < 0) continue;
            s.times.push_back(figures.ms);
            if (figures.peakMb >= 0) s.peaks.push_back(figures.peakMb);
        }
    }
    auto nameOf = [](const Subject& s) { return s.exe.substr(s.exe.rfind('\\') + 1); };
    auto overBare = [&](const Subject& s) { return Ratio(Median(s.times), Median(subjects[0].times)); };
    constexpr std::size_t programsEnd = 4;  // the floor and the three programs; Claverix's dialog alone last
    const Subject& claverix = subjects[1];
    const Subject& claverixDialog = subjects[programsEnd];
    SayLine("floor: " + nameOf(subjects[0]) + " start", subjects[0].times, "ms");
    SayLine(nameOf(claverix) + " start", claverix.times, "ms", overBare(claverix));
    SayLine("  its dialog alone: " + nameOf(claverixDialog), claverixDialog.times, "ms", overBare(claverixDialog));
    for (std::size_t i = 2; i < programsEnd; ++i)
        SayLine(nameOf(subjects[i]) + " start", subjects[i].times, "ms", overBare(subjects[i]));
    Say("  floor: bare_dialog.exe, one button in a dialog from an in-memory template, same manifest\n");
    const auto overDialog = Ratio(Median(claverix.times), Median(claverixDialog.times));
    Say("  its dialog alone: Claverix's 21 controls from the program's own template, no fonts, icons or list\n"
        "  items; Claverix's start is %.2f x that\n", overDialog.value_or(0));

    Say("\nPeak working set once the dialog is visible (same starts)\n");
    SayLine("floor: " + nameOf(subjects[0]), subjects[0].peaks, "MB");
    for (std::size_t i = 1; i < programsEnd; ++i)
        SayLine(nameOf(subjects[i]), subjects[i].peaks, "MB", Ratio(Median(subjects[i].peaks), Median(subjects[0].peaks)));
}

// ---------------------------------------------------------------------------------------------------------
// Claverix

struct ClaverixRun {
    ScratchFolder folder;
    Program program;
    HWND dialog = nullptr;
    std::int64_t launchedMs = 0;  // local time just before the start and once the dialog shows
    std::int64_t shownMs = 0;

    explicit ClaverixRun(bool withWordList) {
        const std::string exe = CopyInto(BinPath("Claverix.exe"), folder, "Claverix.exe");
        if (withWordList) CopyInto(BinPath(std::string(WordListName)), folder, WordListName);
        launchedMs = LocalMs();
        program = Program::Launch(exe, folder.Path());
        dialog = WaitForTopWindow(program.Pid(), ClaverixCaption, DialogClass);
        shownMs = LocalMs();
        if (dialog == nullptr) Fail("Claverix did not show its dialog");
    }
    ~ClaverixRun() {
        if (dialog != nullptr && ClickControl(dialog, ExitButton)) program.WaitForExit();
    }

    // Presses "Crear" and waits for its message box; gives the milliseconds in between, negative on failure.
    double Create(double timeoutMs, std::string_view expected) {
        const double start = NowMs();
        if (!ClickControl(dialog, CreateButton)) return -1;
        HWND box = WaitQuietDialog(program.Pid(), dialog, timeoutMs, LongRunPollMs);
        const double end = NowMs();
        if (box == nullptr) {
            Fail("no message after \"Crear\"");
            return -1;
        }
        return AnswerBox(program.Pid(), expected) ? end - start : -1;
    }
};

// The lines of a password file, joined.
std::string JoinedLines(const std::string& bytes) {
    std::string joined;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\r\n", start)) != std::string::npos; start = end + 3)
        joined += bytes.substr(start, end - start);
    return joined;
}

double Sum(const std::vector<double>& values) {
    double sum = 0;
    for (double v : values) sum += v;
    return sum;
}

// Milliseconds over `counts` steps each, as microseconds per step.
std::vector<double> MicrosecondsPerStep(const std::vector<double>& ms, const std::vector<double>& counts) {
    std::vector<double> us;
    for (std::size_t i = 0; i < ms.size() && i < counts.size(); ++i) us.push_back(ms[i] * 1000 / counts[i]);
    return us;
}

// One step of a loop beside one pause: a step that costs much more than its pause has more in it than the
// pause and a look at the queue.
void SayStepBesidePause(std::string_view step, const std::vector<double>& stepUs, double stepRatio, double pauseUs) {
    SayLine(step, stepUs, "us", Ratio(stepRatio, pauseUs));
    SayLine("  one pause (blocks of 1000, above)", {pauseUs}, "us");
}

void BenchLongPassword(int runs, double pauseUs) {
    Say("\nA 999-character password, 333 digits, letters and signs on one line (%d runs; ratio of the sums,\n"
        "each run has its own floor)\n", runs);
    const PasswordCounts counts{999, 999, 333, 333, 333};
    std::vector<double> measured, floor;
    for (int i = 0; i < runs; ++i) {
        ClaverixRun run(false);
        if (run.dialog == nullptr) return;
        const int ids[] = {TotalList, PerLineList, DigitsList, LettersList, SignsList};
        const int values[] = {counts.TotalCount, counts.PerLineCount, counts.DigitCount, counts.LetterCount, counts.SignCount};
        for (int k = 0; k < 5; ++k)
            if (!SelectCount(run.dialog, ids[k], values[k])) Fail("cannot select a count");
        SetWindowTextTo(Control(run.dialog, FileNameBox), "largo.txt");
        const double ms = run.Create(300000, Created);
        if (ms < 0) return;
        const auto bytes = ReadFileBytes(run.folder / "largo.txt");
        const std::string password = bytes ? JoinedLines(*bytes) : std::string();
        // The dialog reseeded once, between the start and the dialog showing: that seed made this password.
        const auto made = FindPasswordRun(password, counts, GeneratorModes{}, run.launchedMs - 100, run.shownMs + 100);
        if (!made) {
            Fail("no seed between the start and the dialog makes the written password");
            return;
        }
        measured.push_back(ms);
        floor.push_back(static_cast<double>(made->pumpSteps));
    }
    SayLine("999-character password", measured, "ms", Ratio(Sum(measured), Sum(floor)));
    SayLine("floor: its pump steps x 1 ms", floor, "ms");
    Say("  floor: placement draws, characters and the line, counted from the seed recovered from the password\n");
    SayStepBesidePause("one step: the run / its pump steps", MicrosecondsPerStep(measured, floor),
                       Sum(measured) * 1000 / Sum(floor), pauseUs);
}

void BenchDictionaryWord(int runs) {
    Say("\nAn 18-letter dictionary word, list in memory (%d searches; ratio of the sums, each search has its own\n"
        "floor)\n", runs);
    ClaverixRun run(true);
    if (run.dialog == nullptr) return;
    const auto list = ReadFileBytes(run.folder / WordListName);
    if (!list) {
        Fail("no le.txt");
        return;
    }
    const std::vector<std::string> lines = WordListLinesOf(*list);
    int words = 0;
    for (const auto& line : lines) words += line.size() == 18 ? 1 : 0;
    if (!ClickControl(run.dialog, DictionaryCheck) || !WaitUntil([&] { return IsChecked(Control(run.dialog, DictionaryCheck)); }))
        Fail("cannot tick the dictionary box");
    if (!SelectCount(run.dialog, TotalList, 18)) Fail("cannot select 18");
    SetWindowTextTo(Control(run.dialog, FileNameBox), "palabra.txt");

    std::vector<double> measured, floor;
    int seeds = 0;
    for (int i = 0; i < runs; ++i) {
        const std::int64_t start = LocalMs();
        const double ms = run.Create(90000, Created);
        if (ms < 0) return;
        const auto first = FirstWordInstant(lines, 18, start, start + 600000);
        if (!first) {
            Fail("no clock reading draws an 18-letter word");
            return;
        }
        measured.push_back(ms);
        floor.push_back(static_cast<double>(first->ms - start));
        seeds += first->seeds;
    }
    SayLine("18-letter dictionary word", measured, "ms", Ratio(Sum(measured), Sum(floor)));
    SayLine("floor: first clock reading with a hit", floor, "ms");
    Say("  floor: from \"Crear\" to the first clock reading whose draw is an 18-letter line (%d distinct seeds,\n"
        "  one every %.2f ms at this time of day; %d of the %zu lines have 18 letters)\n",
        seeds, ReseedQuantumMs(LocalMs()), words, lines.size());
}

// ---------------------------------------------------------------------------------------------------------
// Sellomar and Portaclip

// A plain loop over the tree, as the protection run's floors: every entry found with the suite's folder walk
// and every file read whole. With a target folder, also what the run must do per candidate and a plain loop
// can do too: one PumpOneMessage before each read (a 1 ms sleep when no message waits) and one 184-byte file
// created and written in the target folder. A test that the file does not exist yet, before the read, is
// timed apart and not counted: the run makes none, its exclusive create being its one look at the target.
struct TreeLoop {
    int files = 0;
    double pumpMs = 0, readMs = 0, writeMs = 0, existsMs = 0;  // summed by step
};

void LoopOverTree(const std::string& folder, const std::string* target, TreeLoop& loop) {
    static const char record[RecordSize] = {};
    ForEachEntry(folder, "*", [&](const FolderEntry& entry) {
        if (entry.IsSubfolderToEnter()) {
            LoopOverTree(folder + entry.name + "\\", target, loop);
            return;
        }
        if (entry.IsFolder()) return;
        ++loop.files;
        std::string written;
        double t = NowMs();
        if (target != nullptr) {
            written = TargetPath(*target, entry.name);
            if (PathExists(written)) Fail(written + " exists before the loop wrote it");
            const double tested = NowMs();
            loop.existsMs += tested - t;
            PumpOneMessage();
            t = NowMs();
            loop.pumpMs += t - tested;
        }
        {
            UniqueFile file(CreateFileW(Wide(folder + entry.name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
            char block[4096];
            DWORD got = 0;
            while (file && ReadFile(file.get(), block, sizeof block, &got, nullptr) && got > 0) {
            }
        }
        const double read = NowMs();
        loop.readMs += read - t;
        if (target == nullptr) return;
        UniqueFile out(CreateFileW(Wide(written).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                   nullptr));
        DWORD done = 0;
        if (!out || !WriteFile(out.get(), record, sizeof record, &done, nullptr) || done != sizeof record)
            Fail("cannot write " + written);
        out.reset();
        loop.writeMs += NowMs() - read;
    });
}

// The loop's milliseconds without the existence tests (all of them when there is no target).
double TimeTreeLoop(const std::string& folder, const std::string* target, int expected, TreeLoop& loop) {
    const double start = NowMs();
    LoopOverTree(folder + "\\", target, loop);
    const double ms = NowMs() - start - loop.existsMs;
    if (loop.files != expected) Fail("the plain loop met " + std::to_string(loop.files) + " files");
    return ms;
}

// The run's second search of every folder (its files with "*.*", then its subfolders with "*"); the floor
// searches each folder once.
double TimeSecondSearches(const std::string& folder) {
    const double start = NowMs();
    int entries = 0;
    ForEachEntry(folder, "*.*", [&](const FolderEntry&) { ++entries; });
    double ms = NowMs() - start;
    ForEachEntry(folder, "*", [&](const FolderEntry& entry) {
        if (entry.IsSubfolderToEnter()) ms += TimeSecondSearches(folder + entry.name + "\\");
    });
    return ms;
}

void MakePlainTree(const ScratchFolder& scratch, const std::string& name, int folders, int perFolder) {
    for (int f = 0; f < folders; ++f) {
        char sub[32];
        std::snprintf(sub, sizeof sub, "\\d%03d", f);
        const std::string folder = scratch.MakeFolder(name + sub);
        for (int i = 0; i < perFolder; ++i) {
            char file[32], text[32];
            std::snprintf(file, sizeof file, "\\c%05d.txt", f * perFolder + i);
            std::snprintf(text, sizeof text, "clave-%05d\r\r\n", f * perFolder + i);
            if (!WriteFileBytes(folder + file, text)) {
                Fail("cannot write " + folder + file);
                return;
            }
        }
    }
}

struct ProtectionFigures {
    double ms = -1;      // the target chosen until the closing counts; negative when the run failed
    double peakMb = -1;  // Sellomar's peak working set once the closing counts show
};

ProtectionFigures ProtectWithSellomar(const ScratchFolder& scratch, const std::string& exe, const std::string& plain,
                                      const std::string& sealed, int total) {
    ProtectionFigures figures;
    Program program = Program::Launch(exe, scratch.Path());
    HWND dialog = WaitQuietDialog(program.Pid(), nullptr, 20000);
    if (dialog != nullptr && WindowText(dialog) != SellomarCaption) {
        AnswerBox(program.Pid(), RegisteredMessage);
        dialog = WaitForTopWindow(program.Pid(), SellomarCaption, DialogClass);
    }
    if (dialog == nullptr) {
        Fail("Sellomar did not show its dialog");
        return figures;
    }
    SetWindowTextTo(Control(dialog, PasswordBox), Key);
    if (!ClickControl(dialog, SearchButton) || !AnswerBox(program.Pid(), FirstPickMessage) ||
        !PickFolder(program.Pid(), plain) || !AnswerBox(program.Pid(), SecondPickMessage) ||
        !PickFolder(program.Pid(), sealed))
        return figures;
    const double start = NowMs();
    HWND box = WaitQuietDialog(program.Pid(), dialog, 600000, LongRunPollMs);
    const double measured = NowMs() - start;
    const double peakMb = PeakWorkingSetMb(program.Handle());
    if (box == nullptr || !AnswerBox(program.Pid(), ClosingMessage(total, total, 0))) return figures;
    if (ClickControl(dialog, CloseButton)) program.WaitForExit();
    figures.ms = measured;
    figures.peakMb = peakMb;
    return figures;
}

void BenchProtection(int folders, int perFolder, int runs, double pauseUs) {
    const int total = folders * perFolder;
    constexpr int SmallTotal = 100;
    Say("\nSellomar protecting %d small files in %d folders (%d runs, each into a new target folder; ratio of the\n"
        "medians to the floor with pumps and writes)\n", total, folders, runs);
    ScratchFolder scratch;
    const std::string plain = scratch.MakeFolder("planos");
    const std::string small = scratch.MakeFolder("pocos");
    MakePlainTree(scratch, "planos", folders, perFolder);
    MakePlainTree(scratch, "pocos", 1, SmallTotal);
    const std::string exe = CopyInto(BinPath("Sellomar.exe"), scratch, "Sellomar.exe");

    std::vector<double> measured, honest, bare, pump, read, write, exists, peaks, smallPeaks;
    for (int i = 0; i < runs; ++i) {
        TreeLoop bareLoop;
        bare.push_back(TimeTreeLoop(plain, nullptr, total, bareLoop));
        TreeLoop loop;
        const std::string floorTarget = scratch.MakeFolder("suelo" + std::to_string(i)) + "\\";
        honest.push_back(TimeTreeLoop(plain, &floorTarget, total, loop));
        pump.push_back(loop.pumpMs);
        read.push_back(loop.readMs);
        write.push_back(loop.writeMs);
        exists.push_back(loop.existsMs);

        const ProtectionFigures run = ProtectWithSellomar(scratch, exe, plain, scratch.MakeFolder("sellos" + std::to_string(i)), total);
        if (run.ms < 0) return;
        measured.push_back(run.ms);
        if (run.peakMb >= 0) peaks.push_back(run.peakMb);
        const ProtectionFigures few = ProtectWithSellomar(scratch, exe, small, scratch.MakeFolder("sellos100_" + std::to_string(i)), SmallTotal);
        if (few.peakMb >= 0) smallPeaks.push_back(few.peakMb);
    }
    const double searches = TimeSecondSearches(plain + "\\");

    SayLine("protecting " + std::to_string(total) + " files", measured, "ms", Ratio(Median(measured), Median(honest)));
    SayLine("floor: walk, pump, read, write", honest, "ms");
    SayLine("floor: walk and read only", bare, "ms", Ratio(Median(measured), Median(bare)));
    Say("  where the time goes: the floor's loop timed by step, summed over the %d files\n", total);
    SayLine("  a PumpOneMessage before each read", pump, "ms");
    SayLine("  open, read and close each plain file", read, "ms");
    SayLine("  create and write each 184-byte file", write, "ms");
    SayLine("  (not in the floor) test that each target is missing", exists, "ms");
    SayLine("  search each folder a second time", {searches}, "ms");
    const double rest = Median(measured) - Median(honest) - searches;
    Say("  the run's median beyond the floor and its second searches: %.1f ms, %.3f ms per file\n", rest,
        rest / total);
    const std::vector<double> files(measured.size(), total);
    SayLine("one step of the run: a file", MicrosecondsPerStep(measured, files), "us",
            Ratio(Median(measured), Median(honest)));
    SayLine("one step of the floor's loop: a file", MicrosecondsPerStep(honest, files), "us");
    SayStepBesidePause("  its PumpOneMessage", MicrosecondsPerStep(pump, files), Median(pump) * 1000 / total, pauseUs);

    Say("\nSellomar's peak working set once the closing counts show\n");
    SayLine("after protecting " + std::to_string(SmallTotal) + " files", smallPeaks, "MB");
    SayLine("after protecting " + std::to_string(total) + " files", peaks, "MB", Ratio(Median(peaks), Median(smallPeaks)));
}

// Shows a message box of the bench's own, as Portaclip shows its last one, and gives the milliseconds until it
// is shown. On this thread, as in Portaclip: a thread's first window costs Wine a display connection of its
// own. A hook on the thread's window procedures sees the box shown and closes it.
double TimeMessageBox() {
    static double shownAt;
    shownAt = 0;
    auto seeShown = [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam && shownAt == 0 &&
            ClassName(call->hwnd) == DialogClass) {
            shownAt = NowMs();
            PostMessageW(call->hwnd, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    };
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, seeShown, nullptr, GetCurrentThreadId());
    if (hook == nullptr) {
        Fail("cannot hook the floor's message box");
        return 0;
    }
    const double start = NowMs();
    MessageBoxW(nullptr, L"Ya he cargado, GRACIAS!!!", L"...", MB_OK);
    UnhookWindowsHookEx(hook);
    if (shownAt == 0) Fail("the floor's message box was not seen shown");
    return shownAt - start;
}

// The loading's floors, in a loop: every file's key and password read; with a list, also what Portaclip does
// besides and a loop can do too, timed apart: a line added to the list for each file with the list's redraw
// off, the redraw turned on again, and the closing message box until it shows.
struct LoadingLoop {
    double readMs = 0;  // the folder listed and every key and password read
    double listMs = 0;  // the lines and the redraw
    double boxMs = 0;
    double Total() const { return readMs + listMs + boxMs; }
};

LoadingLoop TimeLoadingLoop(const std::string& sealed, HWND list, int expected) {
    LoadingLoop loop;
    if (list != nullptr) SendMessageW(list, LB_RESETCONTENT, 0, 0);
    int matching = 0;
    double t = NowMs();
    if (list != nullptr) SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ForEachEntry(sealed + "\\", "*.sclav", [&](const FolderEntry& entry) {
        const std::string path = sealed + "\\" + entry.name;
        if (ReadStoredKey(path) != Key || ReadStoredPassword(path).empty()) return;
        ++matching;
        if (list == nullptr) return;
        const double read = NowMs();
        loop.readMs += read - t;
        char line[64];
        std::snprintf(line, sizeof line, "%03d - %s", matching, entry.name.substr(0, entry.name.rfind('.')).c_str());
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(line).c_str()));
        t = NowMs();
        loop.listMs += t - read;
    });
    const double read = NowMs();
    loop.readMs += read - t;
    if (list != nullptr) {
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
        loop.listMs += NowMs() - read;
        loop.boxMs = TimeMessageBox();
    }
    if (matching != expected) Fail("the floor's loop matched " + std::to_string(matching) + " files");
    return loop;
}

// A list box of the bench's own, with the styles, size and place of Portaclip's list (read while Portaclip
// runs), alone in a window.
class FloorList {
public:
    FloorList(LONG_PTR style, LONG_PTR exStyle, RECT place) {
        frame_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, place.left, place.top,
                                 place.right - place.left, place.bottom - place.top, nullptr, nullptr, nullptr, nullptr);
        list_ = CreateWindowExW(static_cast<DWORD>(exStyle), L"LISTBOX", L"", static_cast<DWORD>(style), 0, 0,
                                place.right - place.left, place.bottom - place.top, frame_, nullptr, nullptr, nullptr);
    }
    ~FloorList() {
        DestroyWindow(frame_);
        // What the window left in the queue would otherwise be handled by the protection floor's pumps.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    FloorList(const FloorList&) = delete;
    FloorList& operator=(const FloorList&) = delete;

    HWND List() const { return list_; }

private:
    HWND frame_ = nullptr;
    HWND list_ = nullptr;
};

void BenchLoading(int count, int runs) {
    Say("\nPortaclip loading %d .sclav files (%d runs; ratio of the medians to the floor with the list)\n", count, runs);
    ScratchFolder scratch;
    const std::string sealed = scratch.MakeFolder("sellos");
    for (int i = 0; i < count; ++i) {
        char name[32], text[32];
        std::snprintf(name, sizeof name, "\\clave%03d.sclav", i);
        std::snprintf(text, sizeof text, "clave-%05d", i);
        SecretText key(Key), password(text);
        if (!WriteProtectedFile(sealed + name, key, password)) {
            Fail("cannot write " + sealed + name);
            return;
        }
    }

    const std::string exe = CopyInto(BinPath("Portaclip.exe"), scratch, "Portaclip.exe");
    std::vector<double> measured, reads, honest, honestReads, lines, boxes;
    for (int i = 0; i < runs; ++i) {
        reads.push_back(TimeLoadingLoop(sealed, nullptr, count).readMs);
        Program program = Program::Launch(exe, scratch.Path());
        HWND main = WaitForTopWindow(program.Pid(), PortaclipCaption, DialogClass);
        if (main == nullptr || !ClickControl(main, LoadButton)) {
            Fail("Portaclip did not show its dialog");
            return;
        }
        HWND login = WaitForTopWindow(program.Pid(), LoginCaption, DialogClass);
        if (login == nullptr) {
            Fail("no login dialog");
            return;
        }
        SetWindowTextTo(Control(login, FirstEntry), Key);
        SetWindowTextTo(Control(login, SecondEntry), Key);
        if (!ClickControl(login, AcceptLogin) || !WaitForWindowGone(login) || !PickFolder(program.Pid(), sealed)) return;
        const double start = NowMs();
        HWND box = WaitQuietDialog(program.Pid(), main, 120000);
        const double ms = NowMs() - start;
        if (box == nullptr || !AnswerBox(program.Pid(), Loaded)) return;
        HWND list = Control(main, FileList);
        const int listed = ListCount(list);
        if (listed != count) Fail("the list shows " + std::to_string(listed) + " lines");
        const LONG_PTR style = Style(list), exStyle = ExStyle(list);
        const RECT place = WindowRect(list);
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        if (!program.WaitForExit()) program.Kill();
        measured.push_back(ms);
        FloorList floorList(style, exStyle, place);
        const LoadingLoop loop = TimeLoadingLoop(sealed, floorList.List(), count);
        honest.push_back(loop.Total());
        honestReads.push_back(loop.readMs);
        lines.push_back(loop.listMs);
        boxes.push_back(loop.boxMs);
    }
    reads.push_back(TimeLoadingLoop(sealed, nullptr, count).readMs);

    SayLine("loading " + std::to_string(count) + " .sclav files", measured, "ms", Ratio(Median(measured), Median(honest)));
    SayLine("floor: read, list, show the box", honest, "ms");
    SayLine("floor: read every file's key and password", reads, "ms", Ratio(Median(measured), Median(reads)));
    Say("  floors: ReadStoredKey and ReadStoredPassword of every file in a loop, before each run and after the\n"
        "  last; after each run, the same with each line also added to a list box with the styles, size and\n"
        "  place of Portaclip's, its redraw off, the redraw turned on again, and a message box shown\n");
    Say("  where the time goes: the floor's loop with the list, timed by step\n");
    SayLine("  list the folder, read every key and password", honestReads, "ms");
    SayLine("  add the lines, turn the redraw on again", lines, "ms");
    SayLine("  show a message box until it is on screen", boxes, "ms");
}

// What one 1 ms pause costs on each path, in blocks of 1,000: the long loops' figures and floors pause the
// way the system allows, and the fallback's cost shows what the other path would give. Gives the median
// cost in microseconds of the pause the programs make, for the loops' steps to be set beside.
double BenchPauses(int rounds) {
    Say("\nA 1 ms pause, in blocks of 1000 (%d blocks each; ratio of the medians)\n", rounds);
    MillisecondPause fallback(nullptr);
    std::vector<double> timer, sleep;
    for (int round = 0; round < rounds; ++round) {
        for (const MillisecondPause* pause : {&MillisecondPause::Shared(), &fallback}) {
            const double start = NowMs();
            for (int i = 0; i < 1000; ++i) pause->Pause();
            (pause == &fallback ? sleep : timer).push_back(NowMs() - start);  // ms per 1000: us per pause
        }
    }
    if (MillisecondPause::Shared().HighResolution())
        SayLine("pause on the high-resolution timer", timer, "us", Ratio(Median(timer), Median(sleep)));
    SayLine("pause with Sleep(1)", sleep, "us");
    return Median(MillisecondPause::Shared().HighResolution() ? timer : sleep);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    const bool quick = mode == L"--quick";
    // As the programs do, so the floor's 1 ms sleeps last what theirs last.
    FineSleepPeriod period;
    const std::int64_t now = LocalMs();
    const TimeOfDay time = TimeOfDayAt(now);
    Say("Suite benchmarks under Wine, local time %02d:%02d:%02d%s\n", time.hours, time.minutes, time.seconds,
        quick ? " (quick: fewer repetitions)" : "");
    // Claverix, Sellomar and the floors pause alike: the system makes the timer for all of them or for none.
    Say("1 ms pauses of the programs and the floors: %s\n",
        MillisecondPause::Shared().HighResolution() ? "high-resolution waitable timer"
                                                    : "Sleep(1), the system makes no high-resolution waitable timer");
    Say("%-40s %12s %12s %12s %7s\n", "figure", "min", "median", "max", "ratio");

    BenchStarts(quick ? 3 : 21);
    if (mode == L"--starts") return failures == 0 ? 0 : 1;
    const double pauseUs = BenchPauses(quick ? 1 : 3);
    BenchLongPassword(quick ? 1 : 3, pauseUs);
    BenchDictionaryWord(quick ? 1 : 3);
    BenchLoading(500, quick ? 1 : 3);
    BenchProtection(100, quick ? 20 : 100, quick ? 1 : 3, pauseUs);

    Say("\n%s\n", failures == 0 ? "All figures measured." : "Some figures could not be measured: see FAILED above.");
    return failures == 0 ? 0 : 1;
}
