#include "portaclip_session.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "protected_file.h"
#include "protected_record.h"
#include "text1252.h"
#include "win_text.h"

namespace portaclip_e2e {

namespace {
constexpr std::string_view MainCaption = "Desde aqui todas tus contrase\xF1" "as ...";
constexpr std::string_view LoginCaption = "Acceda con su contrase\xF1" "a ...";

// Whether the box shows an icon. Wine keeps the icon control of every message box visible, empty when the
// style asks for no icon, so the question is whether it holds one.
bool ShowsIcon(HWND box) {
    HWND icon = GetDlgItem(box, 0x0440);
    DWORD_PTR handle = 0;
    return icon != nullptr && SendMessageTimeoutW(icon, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &handle) && handle != 0;
}

POINT Middle(const RECT& rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

// The box is what the user sees at its middle and at its OK button (the main dialog is always on top, and a
// box beneath it would be hidden there).
void ExpectOnTop(const e2e::MessageBoxView& box) {
    auto topAt = [](POINT point) {
        HWND window = WindowFromPoint(point);
        return window != nullptr ? GetAncestor(window, GA_ROOT) : nullptr;
    };
    POINT middle = Middle(e2e::WindowRect(box.window));
    auto ok = std::find_if(box.buttons.begin(), box.buttons.end(), [](const auto& b) { return b.id == IDOK; });
    ASSERT_NE(ok, box.buttons.end()) << box.text;
    POINT button = Middle(e2e::WindowRect(ok->window));
    EXPECT_TRUE(e2e::WaitUntil([&] { return topAt(middle) == box.window && topAt(button) == box.window; }))
        << "beneath another window: " << box.text;
}

std::optional<POINT> LineCentre(HWND list, int index) {
    auto rect = e2e::ListItemRect(list, index);
    if (!rect) return std::nullopt;
    POINT centre{(rect->left + rect->right) / 2, (rect->top + rect->bottom) / 2};
    if (!ClientToScreen(list, &centre)) return std::nullopt;
    return centre;
}
}  // namespace

void Protect(const std::string& path, std::string_view keyText, std::string_view passwordText) {
    SecretText key(keyText), password(passwordText);
    if (cp1252::TrimmedView(key).empty()) ClearGroup(WriterRecord(), ChunkGroup::Key);
    ASSERT_TRUE(WriteProtectedFile(path, key, password)) << path;
}

bool FlushPosted(HWND dialog, int focusId) {
    HWND target = GetDlgItem(dialog, focusId);
    DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    if (target == nullptr || !PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE)) return false;
    return e2e::WaitUntil([&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread, &info) && info.hwndFocus == target;
    });
}

std::string ScreenshotFolder() {
    std::string folder = e2e::WinePath(PORTACLIP_SCREENSHOTS);
    CreateDirectoryW(Wide(folder).c_str(), nullptr);
    return folder;
}

Session::Session() {
    std::string exe = home_ / "Portaclip.exe";
    if (!CopyFileW(Wide(e2e::WinePath(PORTACLIP_EXE)).c_str(), Wide(exe).c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy " << PORTACLIP_EXE;
        return;
    }
    Start(exe, home_.Path());
}

Session::Session(const Installed& installed) {
    Start(installed.exePath, installed.exePath.substr(0, installed.exePath.rfind('\\')));
}

void Session::Start(const std::string& exe, const std::string& folder) {
    program_ = e2e::Program::Launch(exe, folder);
    if (!program_) {
        ADD_FAILURE() << "Portaclip did not start: " << program_.Error();
        return;
    }
    main_ = e2e::WaitForTopWindow(program_.Pid(), MainCaption, "#32770");
    if (main_ == nullptr) ADD_FAILURE() << "no main dialog";
}

Session::~Session() {
    // Esc ends a program left running by a failed test; the owner kills it if even that does not work.
    if (program_ && program_.IsRunning() && main_ != nullptr) {
        PostMessageW(main_, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        program_.WaitForExit(e2e::Milliseconds(3000));
    }
}

HWND Session::OpenLogin() {
    if (!e2e::ClickControl(main_, LoadButton)) return nullptr;
    return e2e::WaitForTopWindow(Pid(), LoginCaption, "#32770");
}

bool Session::PickAndConfirm(const std::string& folder) {
    auto browse = e2e::WaitForBrowseDialog(Pid());
    if (!browse) {
        ADD_FAILURE() << "no folder picker";
        return false;
    }
    if (!e2e::BrowseChoose(*browse, folder)) {
        ADD_FAILURE() << "cannot choose " << folder;
        return false;
    }
    return ConfirmLoaded();
}

bool Session::ConfirmLoaded() {
    auto box = e2e::WaitForMessageBox(Pid());
    if (!box) {
        ADD_FAILURE() << "no closing message";
        return false;
    }
    EXPECT_EQ(box->title, "Programador ...");
    EXPECT_EQ(box->text, "Ya he cargado, GRACIAS!!!");
    EXPECT_FALSE(ShowsIcon(box->window));
    EXPECT_EQ(box->owner, nullptr);
    ExpectOnTop(*box);
    return e2e::AnswerMessageBox(*box);
}

bool Session::Login(const std::optional<std::string>& password) {
    HWND login = OpenLogin();
    if (login == nullptr) {
        ADD_FAILURE() << "no login dialog";
        return false;
    }
    if (password) {
        e2e::SetWindowTextTo(e2e::Control(login, FirstEntry), *password);
        e2e::SetWindowTextTo(e2e::Control(login, SecondEntry), *password);
        e2e::ClickControl(login, AcceptLogin);
    } else {
        e2e::ClickControl(login, ExitLogin);
    }
    if (!e2e::WaitForWindowGone(login)) {
        ADD_FAILURE() << "the login dialog stayed";
        return false;
    }
    return true;
}

void Session::ExpectMessage(std::string_view title, std::string_view text, bool withIcon, e2e::Milliseconds timeout) {
    auto box = e2e::WaitForMessageBox(Pid(), timeout);
    ASSERT_TRUE(box.has_value()) << "no message " << text;
    EXPECT_EQ(box->title, title);
    EXPECT_EQ(box->text, text);
    EXPECT_EQ(ShowsIcon(box->window), withIcon);
    EXPECT_EQ(box->owner, nullptr);
    ExpectOnTop(*box);
    ASSERT_TRUE(e2e::AnswerMessageBox(*box));
}

bool Session::ClickLine(int index) {
    auto centre = LineCentre(List(), index);
    return centre && e2e::BringToFront(List()) && e2e::ClickAt(*centre) && e2e::ParkPointer();
}

bool Session::DoubleClickLine(int index) {
    auto centre = LineCentre(List(), index);
    return centre && e2e::BringToFront(List()) && e2e::ClickAt(*centre) && e2e::ClickAt(*centre) &&
           e2e::ParkPointer();
}

bool Session::HotKey(WORD key) { return e2e::SettleInput(main_) && e2e::PressChord({VK_MENU, key}); }

}  // namespace portaclip_e2e
