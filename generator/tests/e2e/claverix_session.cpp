#include "claverix_session.h"

#include <gtest/gtest.h>

#include "win_text.h"

namespace {

constexpr int CreateButton = 1014;
constexpr int TotalList = 1005, PerLineList = 1006, DigitsList = 1007, LettersList = 1008, SignsList = 1020;
constexpr int FileNameBox = 1016;

// Wine keeps the icon control of a message box visible, only empty, when no icon was asked for: what
// counts is whether it holds an icon.
bool ShowsIcon(const e2e::MessageBoxView& box) {
    HWND icon = GetDlgItem(box.window, 0x0440);
    return box.hasIcon && icon != nullptr && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
}

}  // namespace

ClaverixSession::ClaverixSession(std::optional<std::string> wordList) : programFolder_(folder_.Path()) {
    if (!folder_.Valid()) {
        problem_ = "no scratch folder on T:";
        return;
    }
    const std::string exe = folder_ / "Claverix.exe";
    if (!CopyFileW(Wide(e2e::WinePath(CLAVERIX_EXE_LINUX)).c_str(), Wide(exe).c_str(), TRUE)) {
        problem_ = "cannot copy Claverix.exe (error " + std::to_string(GetLastError()) + ")";
        return;
    }
    if (wordList && !e2e::WriteFileBytes(folder_ / "le.txt", *wordList)) {
        problem_ = "cannot write le.txt";
        return;
    }
    Start(exe);
}

ClaverixSession::ClaverixSession(const Installed& installed)
    : programFolder_(installed.exePath.substr(0, installed.exePath.rfind('\\'))) {
    Start(installed.exePath);
}

ClaverixSession::ClaverixSession(const CopiedTo& place) : programFolder_(place.folder) {
    const std::string exe = place.folder + "\\Claverix.exe";
    if (!CopyFileW(Wide(e2e::WinePath(CLAVERIX_EXE_LINUX)).c_str(), Wide(exe).c_str(), FALSE)) {
        problem_ = "cannot copy Claverix.exe to " + place.folder;
        return;
    }
    copiedExe_ = exe;
    Start(exe);
}

ClaverixSession::~ClaverixSession() {
    if (copiedExe_.empty()) return;
    program_.Kill();
    DeleteFileW(Wide(copiedExe_).c_str());
}

void ClaverixSession::Start(const std::string& exe) {
    program_ = e2e::Program::Launch(exe, programFolder_);
    if (!program_) {
        problem_ = program_.Error();
        return;
    }
    dialog_ = e2e::WaitForTopWindow(program_.Pid(), "Claverix ...", "#32770");
    if (dialog_ == nullptr) problem_ = "the dialog \"Claverix ...\" did not appear";
}

bool ClaverixSession::ScrollCountList(int listId, int value) {
    HWND list = Item(listId);
    return list != nullptr && SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(value), 0) != LB_ERR;
}

bool ClaverixSession::ClickCountLine(int listId, int value) {
    HWND list = Item(listId);
    const auto rect = e2e::ListItemRect(list, value);
    if (!rect) return false;
    const LPARAM at = MAKELPARAM((rect->left + rect->right) / 2, (rect->top + rect->bottom) / 2);
    return PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageW(list, WM_LBUTTONUP, 0, at);
}

bool ClaverixSession::ChooseCount(int listId, int value) {
    return ScrollCountList(listId, value) && ClickCountLine(listId, value) &&
           e2e::WaitUntil([&] { return e2e::ListSelection(Item(listId)) == value; });
}

bool ClaverixSession::ChooseCounts(int total, int perLine, int digits, int letters, int signs) {
    return ChooseCount(TotalList, total) && ChooseCount(PerLineList, perLine) && ChooseCount(DigitsList, digits) &&
           ChooseCount(LettersList, letters) && ChooseCount(SignsList, signs);
}

bool ClaverixSession::SetFileName(std::string_view name) {
    HWND box = Item(FileNameBox);
    return box != nullptr && e2e::SetWindowTextTo(box, name) && e2e::WindowText(box) == name;
}

bool ClaverixSession::Press(int id) { return e2e::ClickControl(dialog_, id); }

bool ClaverixSession::Notify(int id) {
    return PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id))) != FALSE;
}

std::optional<e2e::MessageBoxView> ClaverixSession::NextMessage(e2e::Milliseconds timeout) {
    return e2e::WaitForMessageBox(program_.Pid(), timeout);
}

std::vector<std::string> ClaverixSession::CreateAndAnswer(int count) {
    std::vector<std::string> texts;
    if (!Press(CreateButton)) {
        ADD_FAILURE() << "\"Crear\" could not be pressed";
        return texts;
    }
    for (int i = 0; i < count; ++i) {
        const auto box = NextMessage();
        if (!box) {
            ADD_FAILURE() << "message box " << i + 1 << " of " << count << " did not appear";
            break;
        }
        texts.push_back(box->text);
        EXPECT_EQ(box->title, "...");
        EXPECT_FALSE(ShowsIcon(*box)) << box->text;
        EXPECT_EQ(box->owner, nullptr) << box->text;
        EXPECT_EQ(box->buttons.size(), 1u) << box->text;
        if (!e2e::AnswerMessageBox(*box)) {
            ADD_FAILURE() << "message box \"" << box->text << "\" did not close";
            break;
        }
    }
    return texts;
}

std::string ScreenshotPath(std::string_view name) {
    const std::string folder = e2e::WinePath(SCREENSHOT_FOLDER_LINUX);
    CreateDirectoryW(Wide(folder).c_str(), nullptr);
    return folder + "\\" + std::string(name);
}

bool PathExists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::vector<std::string>> PasswordLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\r\n", start);
        if (end == std::string::npos) return std::nullopt;
        lines.push_back(bytes.substr(start, end - start));
        start = end + 3;
    }
    return lines;
}
