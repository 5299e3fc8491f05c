// Sellomar as a user meets it: the real program, copied into a fresh folder on drive T: for every test,
// driven from outside through its dialog, its message boxes and the real browse-for-folder dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "protected_file.h"
#include "sellomar_session.h"
#include "unique.h"
#include "win_text.h"

using namespace e2e;
using namespace sellomar_e2e;

namespace {

constexpr char Cancelled[] = "Acci\xF3" "n cancelada ...";
constexpr char PasswordLength[] = "La contrase\xF1" "a del programa debe tener entre 4 y 50 caracteres ...";
constexpr char PasswordCharacters[] = "La contrase\xF1" "a del programa tiene caracteres que no se pueden guardar ...";
constexpr char UnusableFolder[] =
    "La carpeta elegida tiene caracteres en su nombre que no se pueden usar ...\r\nCambia su nombre o elige otra carpeta.";

// How many images the program's icon group holds (the GRPICONDIR count); 0 when there is no such group.
int IconImages(const std::string& exe, int groupId) {
    UniqueLibrary module(LoadLibraryExW(Wide(exe).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return 0;
    HRSRC found = FindResourceW(module.get(), MAKEINTRESOURCEW(groupId), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    if (found == nullptr || SizeofResource(module.get(), found) < 6) return 0;
    const auto* header = static_cast<const WORD*>(LockResource(LoadResource(module.get(), found)));
    return header != nullptr ? header[2] : 0;
}

#define START_SELLOMAR(session)           \
    Session session;                      \
    ASSERT_NE(session.Dialog(), nullptr)

}  // namespace

TEST(Sellomar, FirstStartRegistersTheFileTypeAndTheNextIsSilent) {
    ForgetAssociation();
    Session sellomar(Session::Registration::Keep);
    ASSERT_TRUE(sellomar.RegistrationBox().has_value());
    ASSERT_EQ(sellomar.Dialog(), nullptr);

    // The keys are written before the message is shown, the program's path with every backslash doubled.
    const std::string folder = sellomar.Scratch().Path();
    ASSERT_EQ(folder.rfind("T:\\", 0), 0u);
    ASSERT_EQ(folder.find('\\', 3), std::string::npos) << folder;
    const std::string path = "T:\\\\" + folder.substr(3) + "\\\\Sellomar.exe";
    EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, ".sclav"), "sclav-files");
    EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, "sclav-files\\DefaultIcon"), path + ",1");
    EXPECT_EQ(DefaultValue(HKEY_CLASSES_ROOT, "sclav-files\\Shell\\Open\\Command"), path + " %1");

    // Icon index 1 is the second icon group: the six-image document icon after the program's own.
    EXPECT_EQ(IconImages(sellomar.Exe(), 200), 1);
    EXPECT_EQ(IconImages(sellomar.Exe(), 201), 6);
    EXPECT_EQ(ExtractIconExW(Wide(sellomar.Exe()).c_str(), -1, nullptr, nullptr, 0), 2u);

    ASSERT_TRUE(sellomar.AnswerRegistration());
    sellomar.Quit();

    // The dialog comes only after the registration step: its presence with no box means none was shown.
    sellomar.Start(Session::Registration::Keep);
    EXPECT_FALSE(sellomar.Registered()) << sellomar.RegistrationBox()->text;
    ASSERT_NE(sellomar.Dialog(), nullptr);
    EXPECT_FALSE(FindMessageBox(sellomar.Process().Pid()).has_value());
    sellomar.Quit();
}

TEST(Sellomar, ScanExampleProtectsTwoAndTheSecondRunNone) {
    START_SELLOMAR(sellomar);
    std::string source = sellomar.Scratch().MakeFolder("planos");
    std::string target = sellomar.Scratch().MakeFolder("sellados");
    const std::string files[][2] = {
        {"clave.txt", "Clave$12abcd"},
        {"notas.log", "0123456789\r\nabcdefghij-klmn\r\n"},
        {"libro.txt", std::string(300, 'L')},
        {"vacio.txt", ""},
        {"foto.TXT", "no soy candidato"},
    };
    for (const auto& file : files) ASSERT_TRUE(WriteFileBytes(source + "\\" + file[0], file[1]));
    // A candidate whose name Windows-1252 cannot hold is found but cannot be read.
    UniqueFile unreadable(CreateFileW((Wide(source) + L"\\clave\x4E2D.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(unreadable);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(unreadable.get(), "secreto1", 8, &written, nullptr));
    unreadable.reset();

    SaveScreenshot(ScreenshotPath("sellomar_dialog.bmp"));
    EXPECT_EQ(WindowText(sellomar.Item(PasswordLabel)), "Password de este programa");
    EXPECT_EQ(WindowText(sellomar.Item(SearchLabel)), "Buscar y encriptar posibles contrase\xF1" "as");
    EXPECT_TRUE(Style(sellomar.Item(PasswordBox)) & ES_PASSWORD);

    EXPECT_EQ(sellomar.RunWith("sello 2024", source, target), Closing(5, 2));
    auto notas = ReadFileBytes(target + "\\notas.sclav");
    ASSERT_TRUE(notas.has_value());
    EXPECT_EQ(notas->size(), 184u);
    const std::pair<const char*, const char*> stored[] = {{"notas", "0123456789abcdefghij-klmn"},
                                                          {"clave", "Clave$12abcd"}};
    for (const auto& [name, password] : stored) {
        EXPECT_EQ(ReadStoredPassword(target + "\\" + name + ".sclav"), password);
        EXPECT_EQ(ReadStoredKey(target + "\\" + name + ".sclav"), "sello 2024");
    }
    for (const char* name : {"libro", "vacio", "foto"}) EXPECT_FALSE(FileExists(target + "\\" + name + ".sclav"));

    EXPECT_EQ(sellomar.RunWith("otra clave", source, target), Closing(5, 0));
    EXPECT_EQ(ReadFileBytes(target + "\\notas.sclav"), notas);  // never replaced
    for (const auto& file : files) EXPECT_EQ(ReadFileBytes(source + "\\" + file[0]), file[1]) << file[0];
    sellomar.Quit();
}

TEST(Sellomar, ProgramPasswordOfFourToFiftyCharacters) {
    START_SELLOMAR(sellomar);
    std::string source = sellomar.Scratch().MakeFolder("planos");
    std::string four = sellomar.Scratch().MakeFolder("cuatro");
    std::string fifty = sellomar.Scratch().MakeFolder("cincuenta");
    ASSERT_TRUE(WriteFileBytes(source + "\\banco.txt", "banco-1234"));

    for (const std::string& refused : {std::string("abc"), std::string(51, 'x'), std::string("    ")})
        EXPECT_EQ(sellomar.RunWith(refused, source, four), PasswordLength) << refused;
    EXPECT_FALSE(FileExists(four + "\\banco.sclav"));
    // A letter Windows-1252 has no byte for would be stored as '?': refused, not changed.
    DWORD_PTR set = 0;
    ASSERT_TRUE(SendMessageTimeoutW(sellomar.Item(PasswordBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"clave\x03A9"),
                                    SMTO_NORMAL, 5000, &set));
    EXPECT_EQ(sellomar.Run(source, four), PasswordCharacters);
    EXPECT_FALSE(FileExists(four + "\\banco.sclav"));

    EXPECT_EQ(sellomar.RunWith("abcd", source, four), Closing(1, 1));
    EXPECT_EQ(ReadStoredKey(four + "\\banco.sclav"), "abcd");
    std::string longest = "0123456789abcdefghijABCDEFGHIJ0123456789\xF1\xE1\xE9\xED\xF3\xFA!?$%";
    ASSERT_EQ(longest.size(), 50u);
    EXPECT_EQ(sellomar.RunWith(longest, source, fifty), Closing(1, 1));
    EXPECT_EQ(ReadStoredKey(fifty + "\\banco.sclav"), longest);
    EXPECT_EQ(ReadStoredPassword(fifty + "\\banco.sclav"), "banco-1234");
    sellomar.Quit();
}

TEST(Sellomar, CancelledPickWritesNothing) {
    START_SELLOMAR(sellomar);
    std::string source = sellomar.Scratch().MakeFolder("planos");
    std::string target = sellomar.Scratch().MakeFolder("sellados");
    ASSERT_TRUE(WriteFileBytes(source + "\\clave.txt", "secreto1"));
    // The second pick is offered even after the first was cancelled.
    EXPECT_EQ(sellomar.RunWith("abcd", "", target), Cancelled);
    EXPECT_EQ(sellomar.RunWith("abcd", source, ""), Cancelled);
    // A folder whose name Windows-1252 cannot write is said to be unusable, not cancelled; the run ends there.
    ASSERT_TRUE(CreateDirectoryW((Wide(sellomar.Scratch().Path()) + L"\\carpeta\x4E2D").c_str(), nullptr));
    EXPECT_TRUE(ClickControl(sellomar.Dialog(), SearchButton));
    EXPECT_EQ(sellomar.AnswerNext(), FirstPick);
    sellomar.Pick(sellomar.Scratch().Path() + "\\carpeta?");
    EXPECT_EQ(sellomar.AnswerNext(), UnusableFolder);
    EXPECT_FALSE(FileExists(target + "\\clave.sclav"));
    EXPECT_FALSE(FileExists(source + "\\clave.sclav"));
    EXPECT_FALSE(FindMessageBox(sellomar.Process().Pid()).has_value());
    sellomar.Quit();
}

TEST(Sellomar, DuringARunSearchIsIgnoredAndSalirEndsIt) {
    START_SELLOMAR(sellomar);
    HWND dialog = sellomar.Dialog();
    ASSERT_TRUE(SetWindowTextTo(sellomar.Item(PasswordBox), "abcd"));
    ASSERT_TRUE(ClickControl(dialog, SearchButton));
    auto first = WaitForMessageBox(sellomar.Process().Pid());
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->text, FirstPick);

    // The dialog stays enabled under the box. Sent, not posted: the call returns only once the press is
    // handled, and a second run would not return (it would sit in its own message box).
    auto press = [&](int id) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                   reinterpret_cast<LPARAM>(Control(dialog, id)), SMTO_NORMAL, 5000, &result) != 0;
    };
    EXPECT_TRUE(press(SearchButton));
    EXPECT_EQ(TopWindows(sellomar.Process().Pid()).size(), 2u);  // the dialog and the one box
    EXPECT_TRUE(press(CloseButton));
    EXPECT_TRUE(IsWindow(first->window));  // the run goes on until its box is answered

    ASSERT_TRUE(AnswerMessageBox(*first));
    EXPECT_TRUE(sellomar.Process().WaitForExit());
    EXPECT_EQ(sellomar.Process().ExitCode(), std::optional<DWORD>(0));
}

TEST(Sellomar, RunLeavesNoCopyOfThePlainTextsInMemory) {
    START_SELLOMAR(sellomar);
    std::string source = sellomar.Scratch().MakeFolder("planos");
    std::string target = sellomar.Scratch().MakeFolder("sellados");
    // Lengths across the heap's small size classes and every kind of line end: a copy freed unwiped hides
    // under the heap's own links in some classes and not in others, depending on the heap.
    const std::vector<std::string> texts = {"Banco-Plano-4821", "c0rreo#Plano", "linea-uno-77linea-dos-88",
                                            "a-Veinte-Caracteres1", "treinta-y-un-caracteres-en-ella",
                                            "sello-2024-clave"};
    ASSERT_TRUE(WriteFileBytes(source + "\\banco.txt", texts[0]));
    ASSERT_TRUE(WriteFileBytes(source + "\\correo.log", texts[1] + "\r\n"));
    ASSERT_TRUE(WriteFileBytes(source + "\\lineas.txt", "linea-uno-77\r\nlinea-dos-88\r\n"));
    ASSERT_TRUE(WriteFileBytes(source + "\\a.txt", texts[3] + "\r\r\n"));  // as Claverix writes its lines
    ASSERT_TRUE(WriteFileBytes(source + "\\b.txt", texts[4] + "\r"));
    EXPECT_EQ(sellomar.RunWith(texts[5], source, target), Closing(5, 5));
    // The closing message was the run's last step: once the dialog answers, the run has returned.
    ASSERT_TRUE(WaitIdle(sellomar.Dialog()));
    const auto found = ProbeMemory(sellomar.Process().Pid(), texts, "Sellomar plain text");
    // The password box keeps what was typed, as UTF-16: the run's own 8-bit copies are gone.
    EXPECT_EQ(found[5].narrow, 0) << "the program password";
    for (std::size_t i = 0; i < 5; ++i) ExpectNoCopy(found[i], texts[i]);
    EXPECT_EQ(ReadStoredPassword(target + "\\lineas.sclav"), texts[2]);
    sellomar.Quit();
}
