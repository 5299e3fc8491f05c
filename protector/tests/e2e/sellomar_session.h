// One run of the real Sellomar.exe for an end-to-end test: a copy of the program started in a fresh folder
// on drive T: (or the program where an installer put it), its dialog, its reports and the two folder picks
// of a protection run.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "driver.h"
#include "session_support.h"

namespace sellomar_e2e {

enum Id { PasswordLabel = 1001, PasswordBox = 1002, SearchLabel = 1003, SearchButton = 1004, CloseButton = 1005 };

// The program's texts, byte for byte in Windows-1252.
inline constexpr char Title[] = "Programador";
inline constexpr char FirstPick[] = "Vas a elegir carpeta a escanear, donde estan las contrase\xF1" "as sin proteger ...";
inline constexpr char SecondPick[] = "Ahora vas a elegir la carpeta donde deseas que se guarden ...";
inline constexpr char PickPrompt[] = "Elige Carpeta ...\r\n\xAE Velmor Soft";
inline constexpr char RegisteredText[] =
    ".sclav Registrado ...\r\nsi sale m\xE1" "s este mensaje, dale compatibilidad XP SP 2 ...";
// The closing message of a run that found `found` files and protected `protectedCount`.
std::string Closing(int found, int protectedCount);

class Session {
public:
    // What a start does with the message of a first start, which registers the .sclav type.
    enum class Registration { Answer, Keep };
    // A copy of the program in a fresh scratch folder, started.
    explicit Session(Registration registration = Registration::Answer);
    // The program where an installer put it, started there.
    struct Installed {
        std::string exePath;
    };
    explicit Session(const Installed& installed);
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Starts the program (again) and waits for its dialog. The registration message is checked, then answered
    // on the way to the dialog, or kept in RegistrationBox() with no dialog looked for.
    void Start(Registration registration = Registration::Answer);

    HWND Dialog() const { return dialog_; }
    HWND Item(int id) const { return e2e::Control(dialog_, id); }
    e2e::Program& Process() { return program_; }
    const e2e::ScratchFolder& Scratch() const { return folder_; }
    const std::string& Exe() const { return exe_; }
    // Whether the last start registered the .sclav type (and said so), and its message when kept.
    bool Registered() const { return registered_; }
    const std::optional<e2e::MessageBoxView>& RegistrationBox() const { return registrationBox_; }
    // Answers the registration message and waits for the dialog; true once it is there.
    bool AnswerRegistration();

    // The next message box, checked to be one of the program's reports, optionally shot, answered: its text.
    std::string AnswerNext(const std::string& screenshot = {});
    // Picks the folder in the browse dialog, checking its prompt; an empty folder cancels the pick.
    void Pick(const std::string& folder);
    // Presses "...", answers both pick messages and picks both folders: the text of the message that ends
    // the run (shot first when a screenshot is asked for).
    std::string Run(const std::string& source, const std::string& target, const std::string& screenshot = {});
    // The same after setting the password box to `password` (WM_SETTEXT).
    std::string RunWith(const std::string& password, const std::string& source, const std::string& target);
    // The road's step: the program password typed as the user does, then the run.
    std::string Protect(std::string_view password, const std::string& source, const std::string& target,
                        const std::string& screenshot = {});
    // "Salir", and the program is gone with exit code 0.
    void Quit();

private:
    e2e::ScratchFolder folder_;  // declared first, removed last: after the program is gone
    std::string exe_;
    e2e::Program program_;
    HWND dialog_ = nullptr;
    bool registered_ = false;
    std::optional<e2e::MessageBoxView> registrationBox_;
};

}  // namespace sellomar_e2e
