// Sellomar as a user meets it: the real program, copied into a fresh folder on drive T: for every test,
// driven from outside through its dialog, its message boxes and the real browse-for-folder dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "driver.h"
#include "file_type.h"
#include "protected_file.h"
#include "platform.h"
#include "unique.h"
#include "win_text.h"

using namespace e2e;

namespace {

constexpr char DialogCaption[] = "Protege tus contrase\xF1" "as, es lo mejor ...";
// The program's texts, written out byte for byte in Windows-1252.
constexpr char Title[] = "Programador";
constexpr char FirstPick[] = "Vas a elegir carpeta a escanear, donde estan las contrase\xF1" "as sin proteger ...";
constexpr char SecondPick[] = "Ahora vas a elegir la carpeta donde deseas que se guarden ...";
constexpr char Cancelled[] = "Acci\xF3" "n cancelada ...";
constexpr char PasswordLength[] = "La contrase\xF1" "a del programa debe tener entre 4 y 50 caracteres ...";
constexpr char PasswordCharacters[] = "La contrase\xF1" "a del programa tiene caracteres que no se pueden guardar ...";
constexpr char Registered[] = ".sclav Registrado ...\r\nsi sale m\xE1" "s este mensaje, dale compatibilidad XP SP 2 ...";
constexpr char UnusableFolder[] =
    "La carpeta elegida tiene caracteres en su nombre que no se pueden usar ...\r\nCambia su nombre o elige otra carpeta.";
constexpr int PasswordBoxId = 1002;
constexpr int SearchButtonId = 1004;
constexpr int CloseButtonId = 1005;

std::optional<std::string> ClassesDefault(const std::string& subkey) {
    wchar_t data[1024] = {};
    DWORD bytes = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CLASSES_ROOT, Wide(subkey).c_str(), nullptr, RRF_RT_REG_SZ, nullptr, data, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return NarrowLossy(data);
}

// Whatever an earlier test of this prefix registered, in the machine's classes and in the user's.
void ForgetAssociation() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".sclav");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"sclav-files");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\.sclav");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\sclav-files");
}

class Sellomar : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch_.Valid()) << "drive T: is missing: run inside the Wine session";
        exe_ = scratch_ / "Sellomar.exe";
        ASSERT_TRUE(CopyFileW(Wide(SELLOMAR_EXE).c_str(), Wide(exe_).c_str(), TRUE)) << SELLOMAR_EXE;
    }

    // Starts the program and waits for its dialog. A registration message of the first start in this prefix
    // is answered on the way unless `registrationBox` asks for it to be handed back instead.
    HWND Start(std::optional<MessageBoxView>* registrationBox = nullptr) {
        program_ = Program::Launch(exe_, scratch_.Path());
        EXPECT_TRUE(program_) << program_.Error();
        HWND dialog = nullptr;
        std::optional<MessageBoxView> box;
        WaitUntil([&] {
            dialog = FindTopWindow(program_.Pid(), DialogCaption, "#32770");
            box = FindMessageBox(program_.Pid());
            return dialog != nullptr || box.has_value();
        });
        if (box) {
            if (registrationBox != nullptr) {
                *registrationBox = box;
                return nullptr;
            }
            EXPECT_EQ(box->text, Registered);
            EXPECT_TRUE(AnswerMessageBox(*box));
            dialog = WaitForTopWindow(program_.Pid(), DialogCaption, "#32770");
        }
        EXPECT_NE(dialog, nullptr) << "no dialog";
        return dialog;
    }

    // The next message box: checked to be one of the program's (its title, no owner, one button), answered,
    // and its text given back.
    std::string AnswerNext() {
        auto box = WaitForMessageBox(program_.Pid());
        if (!box) {
            ADD_FAILURE() << "no message box";
            return {};
        }
        EXPECT_EQ(box->title, Title);
        EXPECT_EQ(box->owner, nullptr);
        EXPECT_EQ(box->buttons.size(), 1u);
        EXPECT_TRUE(AnswerMessageBox(*box));
        return box->text;
    }

    // Picks the folder in the browse dialog; an empty folder cancels the pick.
    void Pick(const std::string& folder) {
        auto browse = WaitForBrowseDialog(program_.Pid());
        ASSERT_TRUE(browse.has_value()) << "no browse dialog";
        EXPECT_EQ(BrowsePrompt(*browse), "Elige Carpeta ...\r\n\xAE Velmor Soft");
        if (folder.empty()) {
            ASSERT_TRUE(BrowseCancel(*browse));
        } else {
            ASSERT_TRUE(BrowseChoose(*browse, folder)) << folder;
        }
    }

    // A whole run: the password typed, "...", both pick messages and picks; gives the message that ends it.
    std::string RunWith(HWND dialog, const std::string& password, const std::string& source, const std::string& target) {
        EXPECT_TRUE(SetWindowTextTo(Control(dialog, PasswordBoxId), password));
        return RunTyped(dialog, source, target);
    }

    // The same with whatever the password box holds.
    std::string RunTyped(HWND dialog, const std::string& source, const std::string& target) {
        EXPECT_TRUE(ClickControl(dialog, SearchButtonId));
        EXPECT_EQ(AnswerNext(), FirstPick);
        Pick(source);
        EXPECT_EQ(AnswerNext(), SecondPick);
        Pick(target);
        return AnswerNext();
    }

    void Quit(HWND dialog) {
        EXPECT_TRUE(ClickControl(dialog, CloseButtonId));
        EXPECT_TRUE(program_.WaitForExit());
        EXPECT_EQ(program_.ExitCode(), std::optional<DWORD>(0));
    }

    ScratchFolder scratch_;  // declared first, removed last: after the program is gone
    std::string exe_;
    Program program_;
};

// How many images the program's icon group holds (the GRPICONDIR count); 0 when there is no such group.
int IconImages(const std::string& exe, int groupId) {
    UniqueLibrary module(LoadLibraryExW(Wide(exe).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return 0;
    HRSRC found = FindResourceW(module.get(), MAKEINTRESOURCEW(groupId), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    if (found == nullptr || SizeofResource(module.get(), found) < 6) return 0;
    const auto* header = static_cast<const WORD*>(LockResource(LoadResource(module.get(), found)));
    return header != nullptr ? header[2] : 0;
}

std::string Closing(int found, int protectedCount) {
    return "Sellomar ha encontrado " + std::to_string(found) + " ficheros ..\r\nde los cuales ha encriptado " +
           std::to_string(protectedCount) + " ficheros ...";
}

}  // namespace

TEST_F(Sellomar, FirstStartRegistersTheFileTypeAndTheNextIsSilent) {
    ForgetAssociation();
    std::optional<MessageBoxView> box;
    ASSERT_EQ(Start(&box), nullptr);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, Registered);
    EXPECT_EQ(box->title, Title);
    EXPECT_EQ(box->owner, nullptr);

    // The keys are written before the message is shown.
    std::string path = DoubleBackslashes(exe_);
    EXPECT_EQ(ClassesDefault(".sclav"), "sclav-files");
    EXPECT_EQ(ClassesDefault("sclav-files\\DefaultIcon"), path + ",1");
    EXPECT_EQ(ClassesDefault("sclav-files\\Shell\\Open\\Command"), path + " %1");

    // Icon index 1 is the second icon group: the six-image document icon after the program's own.
    EXPECT_EQ(IconImages(exe_, 200), 1);
    EXPECT_EQ(IconImages(exe_, 201), 6);
    EXPECT_EQ(ExtractIconExW(Wide(exe_).c_str(), -1, nullptr, nullptr, 0), 2u);

    ASSERT_TRUE(AnswerMessageBox(*box));
    HWND dialog = WaitForTopWindow(program_.Pid(), DialogCaption, "#32770");
    ASSERT_NE(dialog, nullptr);
    Quit(dialog);

    // The dialog comes only after the registration step: its presence with no box means none was shown.
    std::optional<MessageBoxView> again;
    HWND second = Start(&again);
    EXPECT_FALSE(again.has_value()) << again->text;
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(FindMessageBox(program_.Pid()).has_value());
    Quit(second);
}

TEST_F(Sellomar, ScanExampleProtectsTwoAndTheSecondRunNone) {
    std::string source = scratch_.MakeFolder("planos");
    std::string target = scratch_.MakeFolder("sellados");
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

    HWND dialog = Start();
    ASSERT_NE(dialog, nullptr);
    SaveScreenshot(std::string(SCREENSHOT_DIR) + "\\sellomar_dialog.bmp");
    EXPECT_EQ(WindowText(Control(dialog, 1001)), "Password de este programa");
    EXPECT_EQ(WindowText(Control(dialog, 1003)), "Buscar y encriptar posibles contrase\xF1" "as");
    EXPECT_TRUE(Style(Control(dialog, PasswordBoxId)) & ES_PASSWORD);

    EXPECT_EQ(RunWith(dialog, "sello 2024", source, target), Closing(5, 2));
    auto notas = ReadFileBytes(target + "\\notas.sclav");
    ASSERT_TRUE(notas.has_value());
    EXPECT_EQ(notas->size(), 184u);
    EXPECT_EQ(ReadStoredPassword(target + "\\notas.sclav"), "0123456789abcdefghij-klmn");
    EXPECT_EQ(ReadStoredKey(target + "\\notas.sclav"), "sello 2024");
    EXPECT_EQ(ReadStoredPassword(target + "\\clave.sclav"), "Clave$12abcd");
    EXPECT_EQ(ReadStoredKey(target + "\\clave.sclav"), "sello 2024");
    EXPECT_FALSE(PathExists(target + "\\libro.sclav"));
    EXPECT_FALSE(PathExists(target + "\\vacio.sclav"));
    EXPECT_FALSE(PathExists(target + "\\foto.sclav"));

    EXPECT_EQ(RunWith(dialog, "otra clave", source, target), Closing(5, 0));
    EXPECT_EQ(ReadFileBytes(target + "\\notas.sclav"), notas);  // never replaced
    for (const auto& file : files) EXPECT_EQ(ReadFileBytes(source + "\\" + file[0]), file[1]) << file[0];
    Quit(dialog);
}

TEST_F(Sellomar, ProgramPasswordOfFourToFiftyCharacters) {
    std::string source = scratch_.MakeFolder("planos");
    std::string four = scratch_.MakeFolder("cuatro");
    std::string fifty = scratch_.MakeFolder("cincuenta");
    ASSERT_TRUE(WriteFileBytes(source + "\\banco.txt", "banco-1234"));
    HWND dialog = Start();
    ASSERT_NE(dialog, nullptr);

    EXPECT_EQ(RunWith(dialog, "abc", source, four), PasswordLength);
    EXPECT_EQ(RunWith(dialog, std::string(51, 'x'), source, four), PasswordLength);
    EXPECT_EQ(RunWith(dialog, "    ", source, four), PasswordLength);
    EXPECT_FALSE(PathExists(four + "\\banco.sclav"));
    // A letter Windows-1252 has no byte for would be stored as '?': refused, not changed.
    DWORD_PTR set = 0;
    ASSERT_TRUE(SendMessageTimeoutW(Control(dialog, PasswordBoxId), WM_SETTEXT, 0,
                                    reinterpret_cast<LPARAM>(L"clave\x03A9"), SMTO_NORMAL, 5000, &set));
    EXPECT_EQ(RunTyped(dialog, source, four), PasswordCharacters);
    EXPECT_FALSE(PathExists(four + "\\banco.sclav"));

    EXPECT_EQ(RunWith(dialog, "abcd", source, four), Closing(1, 1));
    EXPECT_EQ(ReadStoredKey(four + "\\banco.sclav"), "abcd");
    std::string longest = "0123456789abcdefghijABCDEFGHIJ0123456789\xF1\xE1\xE9\xED\xF3\xFA!?$%";
    ASSERT_EQ(longest.size(), 50u);
    EXPECT_EQ(RunWith(dialog, longest, source, fifty), Closing(1, 1));
    EXPECT_EQ(ReadStoredKey(fifty + "\\banco.sclav"), longest);
    EXPECT_EQ(ReadStoredPassword(fifty + "\\banco.sclav"), "banco-1234");
    Quit(dialog);
}

TEST_F(Sellomar, CancelledPickWritesNothing) {
    std::string source = scratch_.MakeFolder("planos");
    std::string target = scratch_.MakeFolder("sellados");
    ASSERT_TRUE(WriteFileBytes(source + "\\clave.txt", "secreto1"));
    HWND dialog = Start();
    ASSERT_NE(dialog, nullptr);
    // The second pick is offered even after the first was cancelled.
    EXPECT_EQ(RunWith(dialog, "abcd", "", target), Cancelled);
    EXPECT_EQ(RunWith(dialog, "abcd", source, ""), Cancelled);
    // A folder whose name Windows-1252 cannot write is said to be unusable, not cancelled; the run ends there.
    ASSERT_TRUE(CreateDirectoryW((Wide(scratch_.Path()) + L"\\carpeta\x4E2D").c_str(), nullptr));
    EXPECT_TRUE(ClickControl(dialog, SearchButtonId));
    EXPECT_EQ(AnswerNext(), FirstPick);
    Pick(scratch_.Path() + "\\carpeta?");
    EXPECT_EQ(AnswerNext(), UnusableFolder);
    EXPECT_FALSE(PathExists(target + "\\clave.sclav"));
    EXPECT_FALSE(PathExists(source + "\\clave.sclav"));
    EXPECT_FALSE(FindMessageBox(program_.Pid()).has_value());
    Quit(dialog);
}

TEST_F(Sellomar, DuringARunSearchIsIgnoredAndSalirEndsIt) {
    HWND dialog = Start();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(SetWindowTextTo(Control(dialog, PasswordBoxId), "abcd"));
    ASSERT_TRUE(ClickControl(dialog, SearchButtonId));
    auto first = WaitForMessageBox(program_.Pid());
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->text, FirstPick);

    // The dialog stays enabled under the box. Sent, not posted: the call returns only once the press is
    // handled, and a second run would not return (it would sit in its own message box).
    auto press = [&](int id) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                   reinterpret_cast<LPARAM>(Control(dialog, id)), SMTO_NORMAL, 5000, &result) != 0;
    };
    EXPECT_TRUE(press(SearchButtonId));
    EXPECT_EQ(TopWindows(program_.Pid()).size(), 2u);  // the dialog and the one box
    EXPECT_TRUE(press(CloseButtonId));
    EXPECT_TRUE(IsWindow(first->window));  // the run goes on until its box is answered

    ASSERT_TRUE(AnswerMessageBox(*first));
    EXPECT_TRUE(program_.WaitForExit());
    EXPECT_EQ(program_.ExitCode(), std::optional<DWORD>(0));
}

TEST_F(Sellomar, RunLeavesNoCopyOfThePlainTextsInMemory) {
    std::string source = scratch_.MakeFolder("planos");
    std::string target = scratch_.MakeFolder("sellados");
    // Lengths across the heap's small size classes and every kind of line end: a copy freed unwiped hides
    // under the heap's own links in some classes and not in others, depending on the heap.
    const std::string texts[] = {"Banco-Plano-4821", "c0rreo#Plano", "linea-uno-77linea-dos-88",
                                 "a-Veinte-Caracteres1", "treinta-y-un-caracteres-en-ella"};
    ASSERT_TRUE(WriteFileBytes(source + "\\banco.txt", texts[0]));
    ASSERT_TRUE(WriteFileBytes(source + "\\correo.log", texts[1] + "\r\n"));
    ASSERT_TRUE(WriteFileBytes(source + "\\lineas.txt", "linea-uno-77\r\nlinea-dos-88\r\n"));
    ASSERT_TRUE(WriteFileBytes(source + "\\a.txt", texts[3] + "\r\r\n"));  // as Claverix writes its lines
    ASSERT_TRUE(WriteFileBytes(source + "\\b.txt", texts[4] + "\r"));
    HWND dialog = Start();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(RunWith(dialog, "sello-2024-clave", source, target), Closing(5, 5));
    // The closing message was the run's last step: once the dialog answers, the run has returned.
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored));
    auto found =
        CountInMemory(program_.Pid(), {texts[0], texts[1], texts[2], texts[3], texts[4], "sello-2024-clave"});
    ASSERT_TRUE(found.has_value());
    // The password box keeps what was typed, as UTF-16: the run's own 8-bit copies are gone.
    EXPECT_EQ(found->back().narrow, 0) << "the program password";
    found->pop_back();
    for (std::size_t i = 0; i < found->size(); ++i) {
        std::printf("memory probe, Sellomar plain text %zu: %d copies as bytes, %d as UTF-16\n", i + 1,
                    (*found)[i].narrow, (*found)[i].wide);
        EXPECT_EQ((*found)[i].narrow, 0) << texts[i];
        EXPECT_EQ((*found)[i].wide, 0) << texts[i];
    }
    EXPECT_EQ(ReadStoredPassword(target + "\\lineas.sclav"), texts[2]);
    Quit(dialog);
}
