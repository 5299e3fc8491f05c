// Portaclip end to end under Wine: the real program, its login dialog and folder picker, real mouse input,
// real hot keys and the real clipboard.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "driver.h"
#include "portaclip_session.h"
#include "win_text.h"

using namespace portaclip_e2e;

namespace {

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

bool WaitForClipboard(const std::optional<std::string>& expected) {
    return e2e::WaitUntil([&] { return e2e::ClipboardText() == expected; });
}

// Every test: a running Portaclip and a scratch folder of its own on T:, whose tree the picker shows.
class PortaclipE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.Valid());
        ASSERT_NE(app.Main(), nullptr);
    }

    // banco.sclav, key "k", password "secreto", loaded.
    void LoadBanco() {
        const std::string folder = scratch.MakeFolder("claves");
        Protect(folder + "\\banco.sclav", "k", "secreto");
        ASSERT_TRUE(app.LoadWith(folder, "k"));
    }

    e2e::ScratchFolder scratch;
    Session app;
};

}  // namespace

TEST_F(PortaclipE2E, MainDialogLooksAsLaidOut) {
    EXPECT_NE(e2e::ExStyle(app.Main()) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(e2e::Style(app.Main()) & WS_SYSMENU, 0);
    EXPECT_FALSE(e2e::IsChecked(app.Item(SubfoldersCheck)));
    EXPECT_EQ(e2e::WindowText(app.Item(LoadButton)), "...");
    EXPECT_EQ(e2e::WindowText(app.Item(ResetButton)), "&Resetear");
    EXPECT_EQ(e2e::WindowText(app.Item(HelpButton)), "&Help");
    EXPECT_EQ(e2e::ListCount(app.List()), 0);
    // Centred on the work area.
    RECT work{}, window = e2e::WindowRect(app.Main());
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs((window.left + window.right) - (work.left + work.right)), 2);
    EXPECT_LE(std::abs((window.top + window.bottom) - (work.top + work.bottom)), 2);

    // Enter on the empty list: an empty report. Help: the help text.
    ASSERT_TRUE(e2e::BringToFront(app.List()));
    ASSERT_TRUE(e2e::PressKey(VK_RETURN));
    app.ExpectMessage("Status for all items", "", true);
    ASSERT_TRUE(e2e::ClickControl(app.Main(), HelpButton));
    app.ExpectMessage("...", HelpMessage);
    ASSERT_TRUE(e2e::ClickControl(app.Main(), HelpButton));
    app.ExpectMessage("...", HelpMessage);

    // Esc ends the program at once.
    ASSERT_TRUE(e2e::BringToFront(app.List()));
    ASSERT_TRUE(e2e::PressKey(VK_ESCAPE));
    EXPECT_TRUE(app.Program().WaitForExit());
    EXPECT_EQ(app.Program().ExitCode(), 0u);
}

TEST_F(PortaclipE2E, LoginRefusesEmptyAndCaseDifferentEntriesAndResetsEachField) {
    std::string folder = scratch.MakeFolder("datos");
    Protect(folder + "\\banco.sclav", "Clave", "b4nc0");
    Protect(folder + "\\otro.sclav", "otra", "x");
    HWND login = app.OpenLogin();
    ASSERT_NE(login, nullptr);
    auto field = [&](int id) { return e2e::Control(login, id); };
    auto textOf = [&](int id) { return e2e::WindowText(field(id)); };
    EXPECT_EQ(e2e::Style(login) & WS_SYSMENU, 0);
    EXPECT_NE(e2e::Style(field(FirstEntry)) & ES_PASSWORD, 0);
    EXPECT_TRUE(e2e::SaveScreenshot(e2e::ScreenshotPath("portaclip_login.bmp")));

    // Both empty: nothing happens.
    ASSERT_TRUE(e2e::ClickControl(login, AcceptLogin));
    ASSERT_TRUE(FlushPosted(login, SecondEntry));
    EXPECT_TRUE(e2e::IsVisible(login));

    // Different letter case: refused, both fields keep what was typed.
    e2e::SetWindowTextTo(field(FirstEntry), "Clave");
    e2e::SetWindowTextTo(field(SecondEntry), "clave");
    ASSERT_TRUE(e2e::ClickControl(login, AcceptLogin));
    ASSERT_TRUE(FlushPosted(login, FirstEntry));
    EXPECT_TRUE(e2e::IsVisible(login));
    EXPECT_EQ(textOf(FirstEntry), "Clave");

    // Esc and Enter in a field do nothing either.
    ASSERT_TRUE(e2e::BringToFront(field(FirstEntry)));
    ASSERT_TRUE(e2e::PressKey(VK_ESCAPE));
    ASSERT_TRUE(e2e::PressKey(VK_RETURN));
    ASSERT_TRUE(FlushPosted(login, SecondEntry));
    EXPECT_TRUE(e2e::IsVisible(login));

    // Each reset clears its own field only.
    ASSERT_TRUE(e2e::ClickControl(login, ResetFirst));
    ASSERT_TRUE(e2e::WaitUntil([&] { return textOf(FirstEntry).empty(); }));
    EXPECT_EQ(textOf(SecondEntry), "clave");
    ASSERT_TRUE(e2e::ClickControl(login, ResetSecond));
    ASSERT_TRUE(e2e::WaitUntil([&] { return textOf(SecondEntry).empty(); }));
    // A typed entry that is reset leaves no copy behind in the field's buffers.
    ASSERT_TRUE(e2e::BringToFront(field(FirstEntry)));
    ASSERT_TRUE(e2e::TypeText("Tecleada-Uno"));
    ASSERT_TRUE(e2e::WaitUntil([&] { return textOf(FirstEntry) == "Tecleada-Uno"; }));
    ASSERT_TRUE(e2e::ClickControl(login, ResetFirst));
    ASSERT_TRUE(e2e::WaitUntil([&] { return textOf(FirstEntry).empty(); }));
    EXPECT_EQ(e2e::ProbeMemory(app.Pid(), {"Tecleada-Uno"}, "Portaclip reset entry")[0].wide, 0);

    // The same entry with a leading blank, typed: accepted, and the trimmed key matches.
    ASSERT_TRUE(e2e::BringToFront(field(FirstEntry)));
    ASSERT_TRUE(e2e::TypeText(" Clave"));
    ASSERT_TRUE(e2e::WaitUntil([&] { return textOf(FirstEntry) == " Clave"; }));
    e2e::SetWindowTextTo(field(SecondEntry), " Clave");
    ASSERT_TRUE(e2e::ClickControl(login, AcceptLogin));
    ASSERT_TRUE(e2e::WaitForWindowGone(login));
    ASSERT_TRUE(app.Pick(folder) && app.ConfirmLoaded());
    EXPECT_EQ(e2e::ListLines(app.List()), (std::vector<std::string>{"001 - banco"}));
}

TEST_F(PortaclipE2E, ExitAtFirstLoginStillPicksAndListsOnlyBlankKeys) {
    std::string folder = scratch.MakeFolder("datos");
    Protect(folder + "\\abierto.sclav", "   ", "sin clave");
    Protect(folder + "\\cerrado.sclav", "k", "con clave");
    ASSERT_TRUE(app.LoadKeepingPassword(folder));
    EXPECT_EQ(e2e::ListLines(app.List()), (std::vector<std::string>{"001 - abierto"}));

    // Cancelling the picker loads nothing and says nothing; the accepted login still counts afterwards.
    ASSERT_TRUE(app.LoginAndPick("k", ""));
    app.ExpectNoMessage();
    ASSERT_TRUE(app.LoadKeepingPassword(folder));
    EXPECT_EQ(e2e::ListLines(app.List()), (std::vector<std::string>{"001 - abierto", "002 - cerrado"}));

    // A folder without matching files still ends with the closing message, the list unchanged.
    ASSERT_TRUE(app.LoadKeepingPassword(scratch.MakeFolder("vacia")));
    EXPECT_EQ(e2e::ListCount(app.List()), 2);
}

TEST_F(PortaclipE2E, MoreFilesThanTheListHoldsStopAtTheLastSlotAndSaySo) {
    std::string folder = scratch.MakeFolder("muchos");
    for (int i = 1; i <= 501; ++i) {
        std::string number = std::to_string(i);
        Protect(folder + "\\f" + number + ".sclav", "k", number);
    }
    ASSERT_TRUE(app.LoginAndPick("k", folder));
    app.ExpectMessage(ProgrammerTitle,
                      "La lista ya tiene 500 ficheros, los que caben como maximo.\r\n"
                      "No se han cargado los demas: pulse \"Resetear\" y cargue una carpeta con menos ficheros.",
                      true, e2e::Milliseconds(30000));
    ASSERT_TRUE(app.ConfirmLoaded());
    auto lines = e2e::ListLines(app.List());
    ASSERT_EQ(lines.size(), 500u);
    EXPECT_EQ(lines.back().substr(0, 6), "500 - ");
}

TEST_F(PortaclipE2E, LoadsNumberOnSubfoldersOnlyWhenTickedAndResetStartsAgain) {
    std::string folder = scratch.MakeFolder("datos");
    std::string sub = scratch.MakeFolder("datos\\sub");
    Protect(folder + "\\banco.sclav", "k", "1");
    Protect(folder + "\\mi.correo.SCLAV", "k", "2");
    Protect(folder + "\\nota.sclav.txt", "k", "3");
    Protect(sub + "\\hondo.sclav", "k", "4");

    ASSERT_TRUE(app.LoadWith(folder, "k"));
    auto first = NamesNumberedFrom(e2e::ListLines(app.List()), 1);
    EXPECT_EQ(Sorted(first), (std::vector<std::string>{"banco", "mi.correo"}));

    ASSERT_TRUE(app.TickSubfolders());
    ASSERT_TRUE(app.LoadKeepingPassword(folder));  // "Salir" keeps the password given before
    auto lines = e2e::ListLines(app.List());
    ASSERT_EQ(lines.size(), 5u);
    auto second = NamesNumberedFrom(std::vector<std::string>(lines.begin() + 2, lines.end()), 3);
    EXPECT_EQ(Sorted({second[0], second[1]}), (std::vector<std::string>{"banco", "mi.correo"}));
    EXPECT_EQ(second[2], "hondo");  // after the folder's own files

    ASSERT_TRUE(app.Reset());
    EXPECT_TRUE(e2e::IsChecked(app.Item(SubfoldersCheck)));
    ASSERT_TRUE(app.LoadKeepingPassword(sub));
    EXPECT_EQ(e2e::ListLines(app.List()), (std::vector<std::string>{"001 - hondo"}));

    // A folder whose name Windows-1252 cannot write: said so, and nothing is loaded.
    const std::wstring unwritable = Wide(scratch.Path()) + L"\\carpeta\x4E2D";
    ASSERT_TRUE(CreateDirectoryW(unwritable.c_str(), nullptr));
    Protect(scratch.Path() + "\\x.sclav", "k", "5");
    ASSERT_TRUE(MoveFileW(Wide(scratch.Path() + "\\x.sclav").c_str(), (unwritable + L"\\x.sclav").c_str()));
    ASSERT_TRUE(app.LoginAndPick(std::nullopt, scratch.Path() + "\\carpeta?"));
    app.ExpectMessage(ProgrammerTitle,
                      "La carpeta elegida tiene caracteres en su nombre que no se pueden usar ...\r\n"
                      "Cambia su nombre o elige otra carpeta.");
    EXPECT_EQ(e2e::ListCount(app.List()), 1);
}

TEST_F(PortaclipE2E, FolderTooLongToSearchIsSaidAndNothingLoaded) {
    // 256 characters: its search pattern, with "\*.*", would pass the 259 the walk can search.
    const std::string outer = scratch.MakeFolder(std::string(100, 'a'));
    const std::string deep = outer + "\\" + std::string(256 - outer.size() - 1, 'b');
    ASSERT_EQ(deep.size(), 256u);
    ASSERT_TRUE(CreateDirectoryW(Wide(deep).c_str(), nullptr));
    ASSERT_TRUE(app.LoginAndPick("k", deep));
    app.ExpectMessage(ProgrammerTitle, "La ruta de la carpeta elegida es demasiado larga ...\r\n"
                                         "Elige una carpeta cuya ruta tenga como mucho 255 caracteres.");
    app.ExpectNoMessage();
    EXPECT_EQ(e2e::ListCount(app.List()), 0);
}

TEST_F(PortaclipE2E, HiddenSystemFoldersOfADriveAreNotEntered) {
    std::string root = scratch.MakeFolder("unidad");
    std::string bin = scratch.MakeFolder("unidad\\$Recycle.Bin");
    std::string hidden = scratch.MakeFolder("unidad\\oculta");
    Protect(bin + "\\$R0AB12C.sclav", "k", "borrado");
    Protect(hidden + "\\visible.sclav", "k", "guardado");
    ASSERT_TRUE(SetFileAttributesW(Wide(bin).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(SetFileAttributesW(Wide(hidden).c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(app.TickSubfolders());
    ASSERT_TRUE(app.LoadWith(root, "k"));
    EXPECT_EQ(e2e::ListLines(app.List()), (std::vector<std::string>{"001 - visible"}));
}

TEST_F(PortaclipE2E, DoubleClickAndHotKeysPutTheRightTextsOnTheClipboard) {
    std::string folder = scratch.MakeFolder("claves");
    std::map<std::string, std::string> passwords = {
        {"banco", "B4nc0-Se\xF1or"}, {"correo", "c0rr3o"}, {"dos", "ab"}, {"foro", "f0r0!"}, {"juego", "JueGo#77"}};
    for (const auto& [name, password] : passwords) Protect(folder + "\\" + name + ".sclav", "clave", password);
    ASSERT_TRUE(app.LoadWith(folder, "clave"));
    auto names = NamesNumberedFrom(e2e::ListLines(app.List()), 1);
    ASSERT_EQ(names.size(), 5u);
    auto passwordOf = [&](int line) { return passwords.at(names[static_cast<std::size_t>(line)]); };
    ASSERT_TRUE(e2e::ClearClipboard());

    // Before any double click, the commands use line 0.
    ASSERT_TRUE(app.HotKey('R'));
    app.ExpectMessage(CopiedTitle, CopiedText);
    EXPECT_EQ(e2e::ClipboardText(), passwordOf(0));

    // A real double click on line 3: exactly its password, the line marked, no line selected.
    ASSERT_TRUE(app.DoubleClickLine(3));
    ASSERT_TRUE(WaitForClipboard(passwordOf(3)));
    EXPECT_EQ(e2e::ClipboardUnicodeText(), passwordOf(3));
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::ListSelection(app.List()) == -1; }));
    EXPECT_TRUE(e2e::SaveScreenshot(e2e::ScreenshotPath("portaclip_marked_line.bmp")));

    // A single click elsewhere does not change which entry the hot keys use.
    ASSERT_TRUE(app.ClickLine(1));
    ASSERT_TRUE(e2e::ClearClipboard());
    ASSERT_TRUE(app.HotKey('R'));
    app.ExpectMessage(CopiedTitle, CopiedText);
    EXPECT_EQ(e2e::ClipboardText(), passwordOf(3));
    ASSERT_TRUE(app.HotKey('L'));
    std::string lengthText = "El n\xBA de caracteres del password es :\r\n";
    lengthText += std::to_string(passwordOf(3).size());
    lengthText += " digitos ...";
    app.ExpectMessage("...", lengthText);
    ASSERT_TRUE(app.HotKey('N'));
    app.ExpectMessage("...", "El nombre de fichero, ya esta en Clipboard ...");
    EXPECT_EQ(e2e::ClipboardText(), names[3]);
    ASSERT_TRUE(app.HotKey('2'));
    ASSERT_TRUE(WaitForClipboard(passwordOf(3).substr(1, 1)));

    // ALT+3 on a two-character password: an empty text.
    int shortLine = static_cast<int>(std::find(names.begin(), names.end(), "dos") - names.begin());
    ASSERT_TRUE(app.DoubleClickLine(shortLine));
    ASSERT_TRUE(WaitForClipboard(std::string("ab")));
    ASSERT_TRUE(app.HotKey('3'));
    ASSERT_TRUE(WaitForClipboard(std::string()));

    // ALT+B empties the clipboard.
    app.ClearWithAltB();
    EXPECT_TRUE(e2e::ClipboardFormats().empty());

    // A second double click on the same line copies again (and unmarks it).
    ASSERT_TRUE(app.DoubleClickLine(shortLine));
    ASSERT_TRUE(WaitForClipboard(std::string("ab")));
}

TEST_F(PortaclipE2E, ClipboardAnotherProgramHoldsIsSaidNotCopied) {
    ASSERT_NO_FATAL_FAILURE(LoadBanco());
    ASSERT_TRUE(e2e::PutClipboardText("anterior"));
    // This test holds the clipboard open for a window of its own, as another program does.
    HWND holder = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(holder));
    const std::string held = " en el Clipboard: otro programa lo esta usando.\r\nEl Clipboard no ha cambiado.";
    ASSERT_TRUE(app.HotKey('B'));
    app.ExpectMessage("...", "No se ha podido borrar el Clipboard: otro programa lo esta usando.\r\n"
                             "El Clipboard no ha cambiado.");
    ASSERT_TRUE(app.DoubleClickLine(0));
    app.ExpectMessage("...", "No se ha podido poner el dato de fichero" + held);
    CloseClipboard();
    DestroyWindow(holder);
    EXPECT_EQ(e2e::ClipboardText(), "anterior");
}

TEST_F(PortaclipE2E, FileAnotherProgramIsReadingIsStillLoaded) {
    std::string folder = scratch.MakeFolder("claves");
    Protect(folder + "\\banco.sclav", "k", "secreto");
    // An indexer or a sync client reading the file, sharing reading only.
    HANDLE reader = CreateFileW(Wide(folder + "\\banco.sclav").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(app.LoadWith(folder, "k"));
    CloseHandle(reader);
    EXPECT_EQ(e2e::ListLines(app.List()), (std::vector<std::string>{"001 - banco"}));
}

TEST_F(PortaclipE2E, SpaceTogglesCheckValuesShownByTheStatusReport) {
    std::string folder = scratch.MakeFolder("datos");
    for (const char* name : {"a", "b", "c"}) Protect(folder + "\\" + name + ".sclav", "k", name);
    ASSERT_TRUE(app.LoadWith(folder, "k"));
    ASSERT_EQ(e2e::ListCount(app.List()), 3);
    ASSERT_TRUE(app.ClickLine(1));
    ASSERT_TRUE(e2e::PressKey(VK_SPACE));
    ASSERT_TRUE(e2e::PressKey(VK_RETURN));
    app.ExpectMessage("Status for all items", "Item 1 =  0\r\nItem 2 =  1\r\nItem 3 =  0\r\n", true);
    EXPECT_EQ(e2e::ListSelection(app.List()), 1);  // the space bar does not move the selection
}

TEST_F(PortaclipE2E, AltPHidesAndShowsAndAltRDoesNotPressResetear) {
    ASSERT_NO_FATAL_FAILURE(LoadBanco());
    // The dialog gives the focus back to the control that had it whenever it is activated again.
    HWND check = app.Item(SubfoldersCheck);
    auto focused = [&] {
        GUITHREADINFO info{sizeof info};
        GetGUIThreadInfo(GetWindowThreadProcessId(app.Main(), nullptr), &info);
        return info.hwndFocus;
    };
    ASSERT_TRUE(e2e::BringToFront(check));
    ASSERT_TRUE(app.HotKey('R'));
    app.ExpectMessage(CopiedTitle, CopiedText);
    EXPECT_EQ(e2e::ListCount(app.List()), 1);
    EXPECT_TRUE(e2e::WaitUntil([&] { return focused() == check; }));

    ASSERT_TRUE(app.HotKey('P'));
    ASSERT_TRUE(app.WaitVisible(false));
    // Hidden, it still answers its hot keys.
    ASSERT_TRUE(e2e::ClearClipboard());
    ASSERT_TRUE(app.HotKey('1'));
    ASSERT_TRUE(WaitForClipboard(std::string("s")));
    ASSERT_TRUE(app.HotKey('P'));
    ASSERT_TRUE(app.WaitVisible(true));
    EXPECT_TRUE(e2e::WaitUntil([&] { return focused() == check; }));
}

TEST_F(PortaclipE2E, HeldHotKeyActsOncePerPress) {
    ASSERT_NO_FATAL_FAILURE(LoadBanco());
    ASSERT_TRUE(e2e::ClearClipboard());
    // ALT+P held: the key goes down once more three times, as a held key repeats; only the first hides.
    ASSERT_TRUE(e2e::SettleInput(app.Main()));
    ASSERT_TRUE(e2e::KeyDown(VK_MENU));
    ASSERT_TRUE(e2e::KeyDown('P'));
    ASSERT_TRUE(app.WaitVisible(false));
    for (int repeat = 0; repeat < 3; ++repeat) ASSERT_TRUE(e2e::KeyDown('P'));
    // ALT+1 pressed while P is still held comes after the repeats: once it has acted, they have been handled.
    ASSERT_TRUE(e2e::PressKey('1'));
    ASSERT_TRUE(WaitForClipboard(std::string("s")));
    EXPECT_FALSE(IsWindowVisible(app.Main()));
    ASSERT_TRUE(e2e::KeyUp('P'));
    ASSERT_TRUE(e2e::KeyUp(VK_MENU));
    // Let go, the key acts again at its next press (ALT+2 in between has the release looked at).
    ASSERT_TRUE(app.HotKey('2'));
    ASSERT_TRUE(WaitForClipboard(std::string("e")));
    ASSERT_TRUE(app.HotKey('P'));
    EXPECT_TRUE(app.WaitVisible(true));
}

TEST_F(PortaclipE2E, SecondCopyNamesEveryHotKeyAsTakenAndTheFirstKeepsThem) {
    Session second;
    ASSERT_NE(second.Main(), nullptr);
    second.ExpectMessage(ProgrammerTitle,
                         "Otro programa ya usa estas teclas rapidas, que no funcionaran en Portaclip:\r\n"
                         "ALT+P, ALT+B, ALT+N, ALT+L, ALT+R, ALT+1, ALT+2, ALT+3, ALT+4, ALT+5, ALT+6, ALT+7, "
                         "ALT+8, ALT+9\r\n"
                         "Cierra ese programa y vuelve a abrir Portaclip para usarlas.",
                         true);
    ASSERT_TRUE(e2e::PutClipboardText("algo"));
    app.ClearWithAltB();
    EXPECT_FALSE(e2e::FindMessageBox(second.Pid()).has_value());
    // The second copy still works otherwise.
    ASSERT_TRUE(e2e::ClickControl(second.Main(), HelpButton));
    second.ExpectMessage("...", HelpMessage);
}

TEST(PortaclipHotKeys, KeyAnotherProgramHoldsIsNamedAtStartAndTheOthersWork) {
    // Another program, this test's own thread, holds ALT+R before Portaclip starts.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_ALT, 'R'));
    struct Release {
        ~Release() { UnregisterHotKey(nullptr, 1); }
    } release;
    Session app;
    ASSERT_NE(app.Main(), nullptr);
    app.ExpectMessage(ProgrammerTitle,
                      "Otro programa ya usa esta tecla rapida, que no funcionara en Portaclip:\r\n"
                      "ALT+R\r\n"
                      "Cierra ese programa y vuelve a abrir Portaclip para usarla.",
                      true);
    app.ClearWithAltB();
    ASSERT_TRUE(app.HotKey('R'));
    MSG message;
    EXPECT_TRUE(e2e::WaitUntil([&] { return PeekMessageW(&message, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE) != FALSE; }));
    EXPECT_FALSE(e2e::FindMessageBox(app.Pid()).has_value());
}

TEST_F(PortaclipE2E, ResetearLeavesNoCopyOfThePasswordsInMemory) {
    std::string folder = scratch.MakeFolder("claves");
    const std::vector<std::string> passwords = {"B4nc0-Se\xF1or-2024", "c0rr3o-Plano", "f0r0!Secreto#1",
                                                "JueGo#77-Largo-Muy-Largo", "Nube.Clave$55"};
    for (std::size_t i = 0; i < passwords.size(); ++i)
        Protect(folder + "\\f" + std::to_string(i) + ".sclav", "clave", passwords[i]);
    auto probe = [&](const std::string& when) {
        return e2e::ProbeMemory(app.Pid(), passwords, "Portaclip " + when + ", password");
    };

    // Loaded, each password is there: the probe finds what the program holds.
    ASSERT_TRUE(app.LoadWith(folder, "clave"));
    ASSERT_EQ(e2e::ListCount(app.List()), 5);
    for (const auto& count : probe("loaded")) EXPECT_GE(count.narrow, 1);
    ASSERT_TRUE(app.Reset());
    const auto afterReset = probe("after Resetear");
    for (std::size_t i = 0; i < passwords.size(); ++i) e2e::ExpectNoCopy(afterReset[i], passwords[i]);

    // A password that went to the clipboard: what the system keeps of it is the system's; none of the
    // others may be left.
    ASSERT_TRUE(app.LoadKeepingPassword(folder));
    ASSERT_TRUE(app.DoubleClickLine(2));
    const std::string copied = passwords[std::stoul(e2e::ListLines(app.List())[2].substr(7))];
    ASSERT_TRUE(WaitForClipboard(copied));
    probe("with a password on the clipboard");
    app.ClearWithAltB();
    ASSERT_TRUE(app.Reset());
    const auto left = probe("after a double click, ALT+B and Resetear");
    for (std::size_t i = 0; i < passwords.size(); ++i) {
        if (passwords[i] != copied) e2e::ExpectNoCopy(left[i], passwords[i]);
    }
}

TEST_F(PortaclipE2E, LoginEntriesLeaveNoCopyOnceTheDialogIsGone) {
    HWND login = app.OpenLogin();
    ASSERT_NE(login, nullptr);
    // Typed as a user does, and never read back from outside: a WM_GETTEXT from here would make the
    // program copy the text for its answer.
    const std::vector<std::string> entries = {"Uno-Entrada1", "Dos-Entrada2"};
    const int fields[] = {FirstEntry, SecondEntry};
    for (std::size_t i = 0; i < entries.size(); ++i) ASSERT_TRUE(e2e::TypeInto(e2e::Control(login, fields[i]), entries[i]));
    // Entries that differ are read, compared and refused; "Salir" then ends the dialog.
    ASSERT_TRUE(e2e::ClickControl(login, AcceptLogin));
    ASSERT_TRUE(FlushPosted(login, FirstEntry));
    ASSERT_TRUE(e2e::ClickControl(login, ExitLogin));
    ASSERT_TRUE(e2e::WaitForWindowGone(login));
    ASSERT_TRUE(app.Pick(""));
    ASSERT_TRUE(FlushPosted(app.Main(), FileList));

    const auto found = e2e::ProbeMemory(app.Pid(), entries, "Portaclip login entry");
    for (std::size_t i = 0; i < entries.size(); ++i) e2e::ExpectNoCopy(found[i], entries[i]);
}
