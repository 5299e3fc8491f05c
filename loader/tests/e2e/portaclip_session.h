// One running copy of Portaclip for an end-to-end test: started from a fresh folder, driven through its
// main dialog, its login dialog and the folder picker, and ended with Esc.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver.h"
#include "temp_folder.h"

namespace portaclip_e2e {

enum Id { FileList = 130, SubfoldersCheck = 134, LoadButton = 132, ResetButton = 136, HelpButton = 9,
          FirstEntry = 7005, SecondEntry = 7006, ExitLogin = 7007, ResetFirst = 7008, ResetSecond = 7009,
          AcceptLogin = 7010 };

// A .sclav file as the protector writes it; a blank key makes a file whose key reads empty.
void Protect(const std::string& path, std::string_view key, std::string_view password);

// Posts a focus change to the dialog and waits until the program has made it: every message posted to the
// dialog before it has then been handled too.
bool FlushPosted(HWND dialog, int focusId);

// The screenshot folder of the build tree (as a Windows path), made when missing.
std::string ScreenshotFolder();

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

    // Presses "..." and gives the login dialog once shown (null if it does not come).
    HWND OpenLogin();
    // Picks the folder in the browse dialog that follows the login, and answers the closing message, which
    // must be "Ya he cargado, GRACIAS!!!" from "Programador ...". Gives false (with the reason recorded as a
    // test failure) when any step fails.
    bool PickAndConfirm(const std::string& folder);
    // Answers the closing message of a load, checking it.
    bool ConfirmLoaded();
    // Presses "..." and leaves the login dialog: both fields set to `password` and "Aceptar", or "Salir"
    // when there is none. The folder picker comes next.
    bool Login(const std::optional<std::string>& password);
    // The whole load: the login, then the folder.
    bool LoadWith(const std::string& folder, const std::string& password) {
        return Login(password) && PickAndConfirm(folder);
    }
    bool LoadKeepingPassword(const std::string& folder) { return Login(std::nullopt) && PickAndConfirm(folder); }

    // Waits for the next message box, checks its title and text, answers OK.
    void ExpectMessage(std::string_view title, std::string_view text, bool withIcon = false,
                       e2e::Milliseconds timeout = e2e::DefaultTimeout);

    // Double-clicks the list line with the real mouse (SendInput).
    bool DoubleClickLine(int index);
    bool ClickLine(int index);

    // Sends the hot key Alt + key through SendInput.
    bool HotKey(WORD key);

private:
    void Start(const std::string& exe, const std::string& folder);

    TempFolder home_;
    e2e::Program program_;
    HWND main_ = nullptr;
};

}  // namespace portaclip_e2e
