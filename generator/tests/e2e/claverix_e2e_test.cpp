// Claverix.exe driven from outside as a user would: counts chosen in the real lists, "Crear" pressed, every
// message box read and answered, and the password file's bytes checked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <string>

#include "claverix_session.h"
#include "win_text.h"

namespace {

enum Id {
    TotalList = 1005, PerLineList = 1006, DigitsList = 1007, LettersList = 1008, SignsList = 1020,
    LowerOption = 1010, UpperOption = 1011, MixedOption = 1012, HexCheck = 1013,
    CreateButton = 1014, ResetButton = 1018, ExitButton = 1015, FileNameBox = 1016, DictionaryCheck = 1021,
};
constexpr int CountLists[] = {TotalList, PerLineList, DigitsList, LettersList, SignsList};

const std::string Created = "password creado ...";
const std::string TotalMessage = "La cantidad de Digitos totales debe ser como minimo 1";
const std::string SumMessage =
    "La cantidad de Numeros y/o Letras y/o Signos debe ser igual al numero de Digitos totales ";
const std::string PerLineMessage = "La cantidad de Digitos por linea debe ser mayor o igual a 1";
const std::string NameMessage = "Tienes que escribir un nombre de fichero";
const std::string WordLengthMessage =
    "La cantidad de letras de la palabra debe ser mayor o igual a 4 y menor o igual a 18 ...";
const std::string UnusableNameMessage = "El nombre del fichero tiene caracteres que no se pueden usar";
// A line of the password file that could not be written; a password of several lines says how many were.
std::string WriteFailed(const std::string& path, const std::string& linesWritten = {}) {
    return "No se ha podido escribir en el fichero \"" + path + "\". Comprueba que la carpeta existe, que el nombre "
           "es valido y que ningun otro programa lo tiene abierto." + linesWritten;
}

std::size_t Count(const std::string& text, std::string_view set) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [&](char c) { return set.find(c) != std::string_view::npos; }));
}
constexpr std::string_view Digits = "0123456789";
constexpr std::string_view Lower = "abcdefghijklmnopqrstuvwxyz";
constexpr std::string_view Upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view Signs = "_-#$&\xBF?\xA1!@";

// The lines of a password file in the program's folder; none, and a failure, when it is missing or a line
// does not end with CR CR LF.
std::vector<std::string> FileLines(const ClaverixSession& claverix, const std::string& name) {
    const auto bytes = e2e::ReadFileBytes(claverix.InFolder(name));
    const auto lines = PasswordLines(bytes.value_or("?"));
    EXPECT_TRUE(lines.has_value()) << name << ": " << bytes.value_or("(missing)");
    return lines.value_or(std::vector<std::string>{});
}

std::vector<std::size_t> Lengths(const std::vector<std::string>& lines) {
    std::vector<std::size_t> lengths;
    for (const std::string& line : lines) lengths.push_back(line.size());
    return lengths;
}


}  // namespace

TEST(Claverix, StartUp_EmptyListsLowerCaseAndNoDictionaryWithoutWordList) {
    START_CLAVERIX(claverix);
    for (int id : CountLists) {
        const std::vector<std::string> lines = e2e::ListLines(claverix.Item(id));
        ASSERT_EQ(lines.size(), 1000u) << id;
        EXPECT_EQ(lines.front(), "000");
        EXPECT_EQ(lines[42], "042");
        EXPECT_EQ(lines.back(), "999");
        EXPECT_EQ(e2e::ListSelection(claverix.Item(id)), -1) << id;
    }
    EXPECT_TRUE(e2e::IsChecked(claverix.Item(LowerOption)));
    EXPECT_FALSE(e2e::IsChecked(claverix.Item(UpperOption)));
    EXPECT_FALSE(e2e::IsChecked(claverix.Item(HexCheck)));
    EXPECT_EQ(e2e::WindowText(claverix.Item(DictionaryCheck)),
              "Creare contrase\xF1" "a con una palabra del diccionario ..");
    EXPECT_FALSE(e2e::IsEnabled(claverix.Item(DictionaryCheck)));

    EXPECT_TRUE(e2e::SaveScreenshot(e2e::ScreenshotPath("claverix_dialog.bmp")));

    // A word list that appears later does not enable the box in this run.
    ASSERT_TRUE(e2e::WriteFileBytes(claverix.InFolder("le.txt"), CyclingWordList({"\xC1rbol", "cami\xF3n"})));
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{TotalMessage});
    EXPECT_FALSE(e2e::IsEnabled(claverix.Item(DictionaryCheck)));
}

TEST(Claverix, Create_ValidationInOrderThenLinesOfThreeThreeThreeOne) {
    START_CLAVERIX(claverix);
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{TotalMessage});
    // 4 + 4 + 1 is not 10; the sum is reported even with no file name and no per-line count.
    ASSERT_TRUE(claverix.ChooseCount(TotalList, 10) && claverix.ChooseCount(DigitsList, 4) &&
                claverix.ChooseCount(LettersList, 4) && claverix.ChooseCount(SignsList, 1));
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{SumMessage});
    ASSERT_TRUE(claverix.ChooseCount(SignsList, 2));
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{PerLineMessage});
    ASSERT_TRUE(claverix.ChooseCount(PerLineList, 3));
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{NameMessage});
    ASSERT_TRUE(claverix.SetFileName("a"));
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{NameMessage});
    EXPECT_EQ(e2e::ListSelection(claverix.Item(TotalList)), 10);  // refused input is kept
    EXPECT_TRUE(e2e::TopWindows(claverix.Process().Pid()).size() == 1u);

    ASSERT_TRUE(claverix.SetFileName("ab"));
    EXPECT_EQ(claverix.CreateAndAnswer(4), std::vector<std::string>(4, Created));
    const auto lines = FileLines(claverix, "ab");
    ASSERT_EQ(Lengths(lines), (std::vector<std::size_t>{3, 3, 3, 1}));
    const std::string password = lines[0] + lines[1] + lines[2] + lines[3];
    EXPECT_EQ(Count(password, Digits), 4u) << password;
    EXPECT_EQ(Count(password, Lower), 4u) << password;
    EXPECT_EQ(Count(password, Signs), 2u) << password;
}

TEST(Claverix, Create_TwoPerLineBytesAndSecondCreateAppends) {
    START_CLAVERIX(claverix);
    ASSERT_TRUE(claverix.Prepare({"a.txt", 4, 2, 2, 1, 1}));
    EXPECT_EQ(claverix.CreateAndAnswer(2), std::vector<std::string>(2, Created));
    const auto first = e2e::ReadFileBytes(claverix.InFolder("a.txt"));
    ASSERT_TRUE(first.has_value());
    ASSERT_EQ(first->size(), 10u);
    EXPECT_EQ(first->substr(2, 3), "\r\r\n");
    EXPECT_EQ(first->substr(7, 3), "\r\r\n");
    const std::string password = first->substr(0, 2) + first->substr(5, 2);
    EXPECT_EQ(Count(password, Digits), 2u) << password;
    EXPECT_EQ(Count(password, Lower), 1u) << password;
    EXPECT_EQ(Count(password, Signs), 1u) << password;

    EXPECT_EQ(claverix.CreateAndAnswer(2), std::vector<std::string>(2, Created));
    const auto second = e2e::ReadFileBytes(claverix.InFolder("a.txt"));
    ASSERT_TRUE(second.has_value());
    ASSERT_EQ(second->size(), 20u);
    EXPECT_EQ(second->substr(0, 10), *first);
    EXPECT_EQ(PasswordLines(*second).value_or(std::vector<std::string>{}).size(), 4u);
}

TEST(Claverix, Create_UpperCaseHexLettersOnlyAToF) {
    START_CLAVERIX(claverix);
    ASSERT_TRUE(claverix.Press(UpperOption));
    ASSERT_TRUE(claverix.Press(HexCheck));
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::IsChecked(claverix.Item(HexCheck)); }));
    ASSERT_TRUE(claverix.Prepare({"hex.log", 12, 12, 0, 12, 0}));
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{Created});
    const auto bytes = e2e::ReadFileBytes(claverix.InFolder("hex.log"));
    ASSERT_TRUE(bytes.has_value());
    ASSERT_EQ(bytes->size(), 15u);
    EXPECT_EQ(bytes->substr(0, 12).find_first_not_of("ABCDEF"), std::string::npos) << *bytes;
    EXPECT_EQ(bytes->substr(12), "\r\r\n");
}

TEST(Claverix, Reset_ClearsTheListsOnly) {
    START_CLAVERIX(claverix);
    ASSERT_TRUE(claverix.ChooseCounts(5, 4, 3, 2, 0));
    ASSERT_TRUE(claverix.Press(MixedOption));
    ASSERT_TRUE(claverix.Press(HexCheck));
    ASSERT_TRUE(claverix.SetFileName("sigue.txt"));
    ASSERT_TRUE(claverix.Press(ResetButton));
    ASSERT_TRUE(claverix.CountsCleared());
    for (int id : CountLists) EXPECT_EQ(SendMessageW(claverix.Item(id), LB_GETTOPINDEX, 0, 0), 0) << id;
    EXPECT_TRUE(e2e::IsChecked(claverix.Item(MixedOption)));
    EXPECT_FALSE(e2e::IsChecked(claverix.Item(LowerOption)));
    EXPECT_TRUE(e2e::IsChecked(claverix.Item(HexCheck)));
    EXPECT_EQ(e2e::WindowText(claverix.Item(FileNameBox)), "sigue.txt");
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{TotalMessage});
}

TEST(Claverix, Create_UnwritableFileIsReportedByNameAndNotConfirmed) {
    START_CLAVERIX(claverix);
    ASSERT_TRUE(claverix.ChooseCounts(6, 2, 6, 0, 0));

    // A folder in the name that does not exist: the first line fails and the run stops there.
    ASSERT_TRUE(claverix.SetFileName("x\\y.txt"));
    EXPECT_EQ(claverix.CreateAndAnswer(1),
              std::vector<std::string>{WriteFailed(claverix.InFolder("x\\y.txt"), " Se han escrito 0 de 3 lineas.")});
    EXPECT_FALSE(FileExists(claverix.InFolder("x")));

    // A file another program holds open: the lines before stay, the rest is not written.
    const std::string held = claverix.InFolder("abierto.txt");
    ASSERT_TRUE(e2e::WriteFileBytes(held, "previo\r\r\n"));
    ASSERT_TRUE(claverix.SetFileName("abierto.txt"));
    {
        HANDLE other = CreateFileW(Wide(held).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE);
        EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{WriteFailed(held, " Se han escrito 0 de 3 lineas.")});
        CloseHandle(other);
    }
    EXPECT_EQ(e2e::ReadFileBytes(held), "previo\r\r\n");

    // A character Windows-1252 cannot write is refused before anything is written, not turned into '?'.
    const std::wstring chinese = L"clave\x4E2D.txt";
    SendMessageW(claverix.Item(FileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chinese.c_str()));
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{UnusableNameMessage});

    // A name that makes the path longer than the platform allows is refused, not cut.
    const std::string longName(300, 'n');
    ASSERT_TRUE(claverix.SetFileName(longName));
    EXPECT_EQ(claverix.CreateAndAnswer(1),
              std::vector<std::string>{"El nombre del fichero es demasiado largo: la ruta \"" + claverix.InFolder(longName) +
                                       "\" pasa de 259 caracteres"});
}

TEST(Claverix, Create_DeviceNamesAndStreamsAreRefusedBeforeAnythingIsWritten) {
    START_CLAVERIX(claverix);
    ASSERT_TRUE(claverix.Prepare({"nul.txt", 6, 6, 6, 0, 0}));  // under Wine, as on Windows 10, it opens the NUL device
    EXPECT_EQ(claverix.CreateAndAnswer(1),
              std::vector<std::string>{"El nombre del fichero no se puede usar: Windows reserva CON, PRN, AUX, NUL, "
                                       "COM1 a COM9 y LPT1 a LPT9 (tambien con extension, y como nombre de carpeta) "
                                       "para sus dispositivos"});
    ASSERT_TRUE(claverix.SetFileName("a.txt:oculto"));
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{UnusableNameMessage});
    EXPECT_FALSE(FileExists(claverix.InFolder("a.txt")));
}

// T:\disco\lleno is a 64 KiB disk that tools/test mounts for the session; Claverix runs from T:\disco beside it.
TEST(Claverix, Create_FullDiskLeavesNoPieceOfALineAndNoEmptyNewFile) {
    const std::string home = "T:\\disco", full = home + "\\lleno";
    ULARGE_INTEGER size{};
    ASSERT_TRUE(GetDiskFreeSpaceExW(Wide(full + "\\").c_str(), nullptr, &size, nullptr) && size.QuadPart <= 65536)
        << "no small disk mounted at " << full << " (tools/test mounts it)";
    struct Cleanup {
        std::vector<std::string> paths;
        ~Cleanup() {
            for (const std::string& path : paths) DeleteFileW(Wide(path).c_str());
        }
    } cleanup{{full + "\\a.txt", full + "\\relleno", full + "\\nuevo.txt"}};
    // a.txt ends 5 bytes before the end of its page; the filler takes every other page.
    const std::string previous = std::string(4088, '7') + "\r\r\n";
    ASSERT_TRUE(e2e::WriteFileBytes(full + "\\a.txt", previous));
    {
        HANDLE filler = CreateFileW(Wide(full + "\\relleno").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(filler, INVALID_HANDLE_VALUE);
        const std::string block(4096, 'r');
        DWORD written = 0;
        while (WriteFile(filler, block.data(), 4096, &written, nullptr) && written == 4096) {}
        CloseHandle(filler);
    }
    ClaverixSession claverix(ClaverixSession::CopiedTo{home});
    ASSERT_EQ(claverix.Problem(), "");
    ASSERT_TRUE(claverix.Prepare({"lleno\\a.txt", 10, 10, 10, 0, 0}));
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{WriteFailed("T:\\disco\\lleno\\a.txt")});
    const auto after = e2e::ReadFileBytes(full + "\\a.txt");
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->size(), previous.size());  // not a byte of the line that did not fit
    EXPECT_TRUE(*after == previous);
    ASSERT_TRUE(claverix.SetFileName("lleno\\nuevo.txt"));
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{WriteFailed("T:\\disco\\lleno\\nuevo.txt")});
    EXPECT_FALSE(FileExists(full + "\\nuevo.txt"));
}

TEST(Claverix, Create_SecondCreateIgnoredAndResetWorksDuringARun) {
    START_CLAVERIX(claverix);
    ASSERT_TRUE(claverix.Prepare({"una.txt", 30, 30, 10, 10, 10}));
    ASSERT_TRUE(claverix.ScrollCountList(PerLineList, 10));
    // Posted together, so that all but the first reach the dialog while the first run pumps messages: a
    // per-line count of 10 chosen during the run, a second "Crear" and a "Reset". The second "Crear" and the
    // "Reset" are posted as the notifications a click ends in: a button still inside its own click (the
    // first "Crear") would swallow a second BM_CLICK before the dialog hears of it.
    ASSERT_TRUE(claverix.Press(CreateButton));
    ASSERT_TRUE(claverix.ClickCountLine(PerLineList, 10));
    ASSERT_TRUE(claverix.Notify(CreateButton));
    ASSERT_TRUE(claverix.Notify(ResetButton));

    // One password of one line of 30: a second run would have cut its own password into lines of 10. The
    // "Reset" cleared the lists meanwhile, without changing the counts the run had read.
    const auto box = claverix.NextMessage();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, Created);
    EXPECT_EQ(e2e::TopWindows(claverix.Process().Pid()).size(), 2u);  // the dialog and one box
    EXPECT_TRUE(claverix.CountsCleared());
    // And while the confirmation is open.
    ASSERT_TRUE(claverix.ChooseCount(TotalList, 7));
    ASSERT_TRUE(claverix.Press(ResetButton));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ListSelection(claverix.Item(TotalList)) == -1; }));
    ASSERT_TRUE(e2e::AnswerMessageBox(*box));

    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{TotalMessage});
    EXPECT_EQ(e2e::TopWindows(claverix.Process().Pid()).size(), 1u);
    EXPECT_EQ(Lengths(FileLines(claverix, "una.txt")), std::vector<std::size_t>{30});
}

TEST(Claverix, Exit_DuringAGenerationWritesNothingMore) {
    {
        START_CLAVERIX(claverix);
        ASSERT_TRUE(claverix.Prepare({"nada.txt", 999, 1, 0, 0, 999}));
        ASSERT_TRUE(claverix.Press(CreateButton));
        ASSERT_TRUE(claverix.Press(ExitButton));
        EXPECT_TRUE(claverix.Process().WaitForExit());
        EXPECT_EQ(claverix.Process().ExitCode(), 0u);
        EXPECT_FALSE(FileExists(claverix.InFolder("nada.txt")));
    }
    {
        // "Salir" while a line's confirmation is shown: that line stays, no other follows.
        START_CLAVERIX(claverix);
        ASSERT_TRUE(claverix.Prepare({"una.txt", 4, 1, 4, 0, 0}));
        ASSERT_TRUE(claverix.Press(CreateButton));
        const auto box = claverix.NextMessage();
        ASSERT_TRUE(box.has_value());
        EXPECT_EQ(box->text, Created);
        ASSERT_TRUE(claverix.Press(ExitButton));
        ASSERT_TRUE(e2e::AnswerMessageBox(*box));
        EXPECT_TRUE(claverix.Process().WaitForExit());
        EXPECT_EQ(FileLines(claverix, "una.txt").size(), 1u);
    }
}

TEST(Claverix, Dictionary_ChecksThenWordInTheChosenCaseWithAccentsFolded) {
    START_CLAVERIX(claverix, CyclingWordList({"\xC1rbol", "cami\xF3n"}));
    ASSERT_TRUE(e2e::IsEnabled(claverix.Item(DictionaryCheck)));
    ASSERT_TRUE(claverix.Press(DictionaryCheck));
    ASSERT_TRUE(e2e::WaitUntil([&] { return !e2e::IsEnabled(claverix.Item(DigitsList)); }));
    EXPECT_FALSE(e2e::IsEnabled(claverix.Item(HexCheck)));
    EXPECT_TRUE(e2e::IsEnabled(claverix.Item(TotalList)));

    ASSERT_TRUE(claverix.ChooseCount(TotalList, 3));
    ASSERT_TRUE(claverix.SetFileName("dic.txt"));
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{WordLengthMessage});
    ASSERT_TRUE(claverix.ChooseCount(TotalList, 19));
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{WordLengthMessage});
    ASSERT_TRUE(claverix.ChooseCount(TotalList, 5));
    ASSERT_TRUE(claverix.SetFileName("ab"));  // enough in normal mode, not here
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{NameMessage});
    ASSERT_TRUE(claverix.ChooseCount(TotalList, 7));
    ASSERT_TRUE(claverix.SetFileName("dic.txt"));
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{"La lista de palabras le.txt no tiene ninguna palabra de 7 letras"});

    ASSERT_TRUE(claverix.ChooseCount(TotalList, 5));
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{Created});  // Árbol, lower case
    ASSERT_TRUE(claverix.Press(UpperOption));
    ASSERT_TRUE(claverix.ChooseCount(TotalList, 6));
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{Created});  // camión, upper case
    EXPECT_EQ(e2e::ReadFileBytes(claverix.InFolder("dic.txt")), "arbol\r\r\nCAMI\xD3N\r\r\n");
    EXPECT_FALSE(FileExists(claverix.InFolder("ab")));

    // Back to normal mode, the other inputs count again.
    ASSERT_TRUE(claverix.Press(DictionaryCheck));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::IsEnabled(claverix.Item(DigitsList)); }));
}

TEST(Claverix, Create_AllSignsOfTheLongestPassword) {
    START_CLAVERIX(claverix);
    ASSERT_TRUE(claverix.Prepare({"signos.txt", 999, 999, 0, 0, 999}));
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(claverix.Press(CreateButton));
    // About 7,500 placement draws, each pumping a message or sleeping a millisecond.
    const auto box = claverix.NextMessage(std::chrono::seconds(60));
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, Created);
    std::printf("999 signs took %lld ms\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                std::chrono::steady_clock::now() - started).count()));
    // The dialog kept answering meanwhile; now it is idle again.
    ASSERT_TRUE(e2e::AnswerMessageBox(*box));
    const auto bytes = e2e::ReadFileBytes(claverix.InFolder("signos.txt"));
    ASSERT_TRUE(bytes.has_value());
    ASSERT_EQ(bytes->size(), 1002u);
    EXPECT_EQ(Count(bytes->substr(0, 999), Signs), 999u);
    EXPECT_EQ(bytes->substr(999), "\r\r\n");
}

TEST(Claverix, Create_LeavesNoCopyOfThePasswordInMemory) {
    START_CLAVERIX(claverix);
    ASSERT_TRUE(claverix.Prepare({"memoria.txt", 40, 40, 14, 13, 13}));
    EXPECT_EQ(claverix.CreateAndAnswer(1), std::vector<std::string>{Created});
    const auto lines = FileLines(claverix, "memoria.txt");
    ASSERT_EQ(Lengths(lines), std::vector<std::size_t>{40});
    // Answered only once the run has returned to the dialog's own loop: no step of it is left to wipe.
    ASSERT_TRUE(e2e::WaitIdle(claverix.Dialog()));
    // Where the digits, letters and signs went ("N", "L", "S" per character) tells much of the password too.
    std::string classes;
    for (unsigned char c : lines[0]) classes += std::isdigit(c) ? 'N' : std::isalpha(c) ? 'L' : 'S';
    const auto found = e2e::ProbeMemory(claverix.Process().Pid(), {lines[0], classes}, "Claverix password");
    e2e::ExpectNoCopy(found[0], lines[0]);
    EXPECT_EQ(found[1].narrow, 0) << classes;
}
