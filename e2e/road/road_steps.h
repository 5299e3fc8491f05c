// The road a user takes through the suite, one step per program, each through the real program and its real
// dialogs: Claverix appends a password to a file, Sellomar protects the folder that file lies in, Portaclip
// loads the protected files and puts a password on the clipboard. Every step records what goes wrong as a
// test failure and goes on no further than it can.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "claverix_session.h"
#include "driver.h"
#include "portaclip_session.h"

namespace road {

// What the user asks Claverix for. In dictionary mode only `total` (the word's length) counts.
struct PasswordOrder {
    std::string fileName;
    int total = 0, perLine = 0, digits = 0, letters = 0, signs = 0;
    bool dictionary = false;
    bool upperCase = false;  // "Solo Mayusculas" instead of the preset "Solo Minusculas"
};

// The bytes of le.txt for a road: the word list built beside Claverix.exe, or, when the build has none, a
// list of the expected length made of a few words.
std::string WordList();

// A list of WordListLines lines cycling through `words` (Windows-1252), so that any line drawn is one of them.
std::string CyclingWordList(const std::vector<std::string>& words);

// The password a file of Claverix holds as Sellomar reads it: every CR CR LF line, joined. Nothing when the
// file does not end its lines that way.
std::optional<std::string> JoinedPassword(const std::string& bytes);

// In the running Claverix: chooses the order, presses "Crear", answers every "password creado ..." (one per
// line), optionally saves a screenshot, and ends the program with "Salir".
void MakePassword(ClaverixSession& claverix, const PasswordOrder& order, const std::string& screenshot = {});

// Sellomar copied into a scratch folder of its own and started; the first start of a Wine prefix registers
// the .sclav type and says so, which is answered on the way to the dialog.
class Sellomar {
public:
    Sellomar();
    // The program where an installer put it, started there.
    explicit Sellomar(const std::string& installedExe);
    Sellomar(const Sellomar&) = delete;
    Sellomar& operator=(const Sellomar&) = delete;

    HWND Dialog() const { return dialog_; }
    // Whether the start registered the .sclav type (and said so).
    bool Registered() const { return registered_; }
    // Types the program password, presses "...", answers both pick messages and picks both folders in the
    // browse dialog; gives the text of the message that ends the run (left open when a screenshot is asked
    // for, until it is saved).
    std::string Protect(std::string_view password, const std::string& source, const std::string& target,
                        const std::string& screenshot = {});
    // "Salir", and the program is gone.
    void Quit();

private:
    void Start(const std::string& exe, const std::string& folder);

    e2e::ScratchFolder folder_;  // declared first, removed last: after the program is gone
    e2e::Program program_;
    HWND dialog_ = nullptr;
    bool registered_ = false;
};

// Portaclip: "...", the password typed in both fields of the login dialog, "Aceptar", the folder picked, the
// closing message answered.
void LoadFolder(portaclip_e2e::Session& portaclip, const std::string& folder, std::string_view password);

// The names the list shows, checking that the lines are numbered 001, 002, ... in order.
std::vector<std::string> ListedNames(portaclip_e2e::Session& portaclip);

// Double-clicks the line, waits until the clipboard holds `expected`, optionally saves a screenshot, then
// empties the clipboard with ALT+B and checks the message "Clipboard Borrado ..".
void PasteAndClear(portaclip_e2e::Session& portaclip, int line, const std::string& expected,
                   const std::string& screenshot = {});

// What a folder tree holds, file by file (paths relative to the root), to tell afterwards what was changed,
// replaced, added or removed.
struct FileState {
    std::string bytes;
    FILETIME created{};
    FILETIME written{};
    // The file's identity on its volume. A file deleted and made again may get the same one back (Linux
    // reuses inode numbers), which its times then tell.
    ULONGLONG fileIndex = 0;
};
using TreeState = std::map<std::string, FileState>;
TreeState Snapshot(const std::string& root);

}  // namespace road
