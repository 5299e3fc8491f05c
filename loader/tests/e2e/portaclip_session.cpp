#include "portaclip_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "win_text.h"

namespace portaclip_e2e {

namespace {
constexpr std::string_view MainCaption = "Desde aqui todas tus contrase\xF1" "as ...";
constexpr std::string_view LoginCaption = "Acceda con su contrase\xF1" "a ...";

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
    POINT centre = Middle(*rect);
    if (!ClientToScreen(list, &centre)) return std::nullopt;
    return centre;
}
}  // namespace

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

std::vector<std::string> NamesNumberedFrom(const std::vector<std::string>& lines, int first) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        char number[8];
        std::snprintf(number, sizeof number, "%03d - ", first + static_cast<int>(i));
        EXPECT_EQ(lines[i].substr(0, 6), number) << lines[i];
        names.push_back(lines[i].substr(std::min<std::size_t>(6, lines[i].size())));
    }
    return names;
}

Session::Session() {
    const std::string exe = e2e::CopyProgram(PORTACLIP_EXE, home_.Path());
    if (!exe.empty()) Start(exe, home_.Path());
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

bool Session::Login(const std::optional<std::string>& password, bool typed) {
    HWND login = OpenLogin();
    if (login == nullptr) {
        ADD_FAILURE() << "no login dialog";
        return false;
    }
    if (password) {
        for (int field : {FirstEntry, SecondEntry}) {
            HWND entry = e2e::Control(login, field);
            EXPECT_TRUE(typed ? e2e::TypeInto(entry, *password) : e2e::SetWindowTextTo(entry, *password)) << field;
        }
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

bool Session::Pick(const std::string& folder) {
    auto browse = e2e::WaitForBrowseDialog(Pid());
    if (!browse) {
        ADD_FAILURE() << "no folder picker";
        return false;
    }
    if (!(folder.empty() ? e2e::BrowseCancel(*browse) : e2e::BrowseChoose(*browse, folder))) {
        ADD_FAILURE() << "cannot choose \"" << folder << "\"";
        return false;
    }
    return true;
}

bool Session::ExpectMessage(std::string_view title, std::string_view text, bool withIcon, e2e::Milliseconds timeout) {
    auto box = e2e::WaitForMessageBox(Pid(), timeout);
    if (!box) {
        ADD_FAILURE() << "no message " << text;
        return false;
    }
    EXPECT_EQ(box->text, text);
    e2e::ExpectReport(*box, title, withIcon);
    ExpectOnTop(*box);
    const bool answered = e2e::AnswerMessageBox(*box);
    EXPECT_TRUE(answered) << "message box \"" << box->text << "\" did not close";
    return answered;
}

void Session::ExpectNoMessage() {
    ASSERT_TRUE(FlushPosted(main_, FileList));
    EXPECT_FALSE(e2e::FindMessageBox(Pid()).has_value());
}

bool Session::ClickLine(int index) {
    auto centre = LineCentre(List(), index);
    return centre && e2e::BringToFront(List()) && e2e::ClickAt(*centre) && e2e::ParkPointer() &&
           e2e::WaitUntil([&] { return e2e::ListSelection(List()) == index; });
}

bool Session::Reset() {
    return e2e::ClickControl(main_, ResetButton) && e2e::WaitUntil([&] { return e2e::ListCount(List()) == 0; });
}

bool Session::WaitVisible(bool visible) {
    return e2e::WaitUntil([&] { return (IsWindowVisible(main_) != FALSE) == visible; });
}

bool Session::DoubleClickLine(int index) {
    auto centre = LineCentre(List(), index);
    return centre && e2e::BringToFront(List()) && e2e::ClickAt(*centre) && e2e::ClickAt(*centre) &&
           e2e::ParkPointer();
}

bool Session::TickSubfolders() {
    HWND check = Item(SubfoldersCheck);
    return e2e::Click(check) && e2e::WaitUntil([&] { return e2e::IsChecked(check); });
}

bool Session::HotKey(WORD key) { return e2e::SettleInput(main_) && e2e::PressChord({VK_MENU, key}); }

void Session::ClearWithAltB() {
    ASSERT_TRUE(HotKey('B'));
    ExpectMessage("...", ClearedText);
}

void Session::PasteAndClear(int line, const std::string& expected, const std::string& screenshot) {
    ASSERT_TRUE(e2e::ClearClipboard());
    ASSERT_TRUE(DoubleClickLine(line));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ClipboardText() == expected; }))
        << "the clipboard holds \"" << e2e::ClipboardText().value_or("(no text)") << "\", not \"" << expected << "\"";
    e2e::Shoot(screenshot);

    // ALT+B, as typed on the keyboard: the hot key is the system's, the chord goes through the input queue.
    ASSERT_TRUE(e2e::BringToFront(List()));
    ClearWithAltB();
    EXPECT_EQ(e2e::ClipboardText(), std::nullopt);
    EXPECT_TRUE(e2e::ClipboardFormats().empty());
}

}  // namespace portaclip_e2e
