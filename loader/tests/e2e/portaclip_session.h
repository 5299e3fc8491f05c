// One running copy of Portaclip for an end-to-end test: started from a fresh folder, driven through its
// main dialog, its login dialog and the folder picker, and ended with Esc.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver.h"
#include "session_support.h"

namespace portaclip_e2e {

enum Id { FileList = 130, SubfoldersCheck = 134, LoadButton = 132, ResetButton = 136, HelpButton = 9,
          FirstEntry = 7005, SecondEntry = 7006, ExitLogin = 7007, ResetFirst = 7008, ResetSecond = 7009,
          AcceptLogin = 7010 };

// The program's texts, byte for byte in Windows-1252.
inline constexpr char ProgrammerTitle[] = "Programador ...";
inline constexpr char CopiedTitle[] = "Recalcado ...";
inline constexpr char CopiedText[] = "El dato de fichero, ya esta en Clipboard ...";
inline constexpr char ClearedText[] = "Clipboard Borrado ..";
inline constexpr char LoadedText[] = "Ya he cargado, GRACIAS!!!";
inline constexpr char HelpMessage[] =
    "Este programa es complementario del programa Claverix\r\n"
    "Su funcion es cargar en el listbox los ficheros con extension \".sclav\" \r\n"
    "Suponemos que estos ficheros han sido generados por Claverix y despu\xE9s Sellomar\r\n"
    "y que en su interior guardamos contrase\xF1" "as o passwords de programas y webs concretas\r\n"
    "de tal manera que al hacer dobleclick en una linea del listbox o fichero \r\n"
    "estamos cargando el contenido de dicho fichero en el clipboard\r\n"
    "para asi poder pastear directamente donde nos lo solicitan\r\n"
    "y poder acceder a nuestros programas y webs favoritos ...\r\n"
    "teniendo todos los passwords en este programa cargados y preparados \r\n"
    "para pastearlos cuando haga falta, haciendo dobleclick en listbox \r\n"
    "\r\n"
    "Tiene cinco funciones de teclado rapido :\r\n"
    "ALT + P = Oculta y visualiza el dialogo \r\n"
    "ALT + N = Mete en el Clipboard el nombre de fichero (Claverix)\r\n"
    "ALT + B = Borra el contenido del clipboard \r\n"
    "ALT + R = Mete en el Clipboard la contrase\xF1" "a\r\n"
    "ALT + L = Mide la cantidad de caracteres del password\r\n"
    "\r\n"
    "Que lo disfruten ....     (c) Velmor Soft";

// Posts a focus change to the dialog and waits until the program has made it: every message posted to the
// dialog before it has then been handled too.
bool FlushPosted(HWND dialog, int focusId);

// Each line's display name (after "nnn - "), checking the numbers run on from `first`.
std::vector<std::string> NamesNumberedFrom(const std::vector<std::string>& lines, int first = 1);

class Session {
public:
    Session();
    // The program where an installer put it, started there.
    struct Installed {
        std::string exePath;
    };
    explicit Session(const Installed& installed);
    ~Session();

    const e2e::Program& Program() const { return program_; }
    DWORD Pid() const { return program_.Pid(); }
    HWND Main() const { return main_; }
    HWND List() const { return e2e::Control(main_, FileList); }
    HWND Item(int id) const { return e2e::Control(main_, id); }

    // Presses "..." and gives the login dialog once shown (null if it does not come).
    HWND OpenLogin();
    // Presses "..." and leaves the login dialog: both fields set to `password` (typed as the user does when
    // asked) and "Aceptar", or "Salir" when there is none. The folder picker comes next.
    bool Login(const std::optional<std::string>& password, bool typed = false);
    // Picks the folder in the browse dialog that follows the login (an empty folder cancels it), and no more.
    bool Pick(const std::string& folder);
    // The login, then the pick, without the closing message.
    bool LoginAndPick(const std::optional<std::string>& password, const std::string& folder) {
        return Login(password) && Pick(folder);
    }
    // Answers the closing message of a load, which must be "Ya he cargado, GRACIAS!!!" from "Programador ...".
    bool ConfirmLoaded() { return ExpectMessage(ProgrammerTitle, LoadedText); }
    // The whole load: the login, then the folder, then the closing message. Each gives false (with the
    // reason recorded as a test failure) when any step fails.
    bool LoadWith(const std::string& folder, const std::string& password, bool typed = false) {
        return Login(password, typed) && Pick(folder) && ConfirmLoaded();
    }
    bool LoadKeepingPassword(const std::string& folder) { return LoginAndPick(std::nullopt, folder) && ConfirmLoaded(); }

    // Waits for the next message box, checks it (title, text, icon, one button, no owner, on top), answers OK;
    // true once it has closed.
    bool ExpectMessage(std::string_view title, std::string_view text, bool withIcon = false,
                       e2e::Milliseconds timeout = e2e::DefaultTimeout);
    // Waits until every message posted to the main dialog is handled, then checks that no box is shown.
    void ExpectNoMessage();

    // Double-clicks the list line with the real mouse (SendInput); a single click, until the line is selected.
    bool DoubleClickLine(int index);
    bool ClickLine(int index);
    // "Resetear", until the list is empty.
    bool Reset();
    // Until the main dialog is shown, or hidden.
    bool WaitVisible(bool visible);
    // Ticks "Incluir Subdirectorios" and waits until it shows ticked.
    bool TickSubfolders();

    // Sends the hot key Alt + key through SendInput.
    bool HotKey(WORD key);
    // ALT+B and its message "Clipboard Borrado ..".
    void ClearWithAltB();

    // The road's steps: the names the list shows, numbered 001, 002, ... in order; and a double click on the
    // line, waiting until the clipboard holds `expected`, optionally a screenshot, then ALT+B, checking that
    // the clipboard is empty again.
    std::vector<std::string> ListedNames() const { return NamesNumberedFrom(e2e::ListLines(List())); }
    void PasteAndClear(int line, const std::string& expected, const std::string& screenshot = {});

private:
    void Start(const std::string& exe, const std::string& folder);

    e2e::ScratchFolder home_;
    e2e::Program program_;
    HWND main_ = nullptr;
};

}  // namespace portaclip_e2e
