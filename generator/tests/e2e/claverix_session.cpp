#include "claverix_session.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "win_text.h"

namespace {

constexpr int CreateButton = 1014, ExitButton = 1015, UpperOption = 1011, DictionaryCheck = 1021;
constexpr int CountLists[] = {1005, 1006, 1007, 1008, 1020};  // total, per line, digits, letters, signs
constexpr int FileNameBox = 1016;

}  // namespace

ClaverixSession::ClaverixSession(std::optional<std::string> wordList) : programFolder_(folder_.Path()) {
    if (!folder_.Valid()) {
        problem_ = "no scratch folder on T:";
        return;
    }
    const std::string exe = e2e::CopyProgram(CLAVERIX_EXE_LINUX, programFolder_);
    if (exe.empty()) {
        problem_ = "cannot copy Claverix.exe";
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
    copiedExe_ = e2e::CopyProgram(CLAVERIX_EXE_LINUX, place.folder);
    if (copiedExe_.empty()) {
        problem_ = "cannot copy Claverix.exe to " + place.folder;
        return;
    }
    Start(copiedExe_);
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
    const int values[] = {total, perLine, digits, letters, signs};
    for (int i = 0; i < 5; ++i) {
        if (!ChooseCount(CountLists[i], values[i])) return false;
    }
    return true;
}

bool ClaverixSession::CountsCleared() {
    return e2e::WaitUntil([&] {
        return std::all_of(std::begin(CountLists), std::end(CountLists),
                           [&](int id) { return e2e::ListSelection(Item(id)) == -1; });
    });
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
        const auto text = e2e::AnswerReport(program_.Pid(), "...");
        if (!text) {
            ADD_FAILURE() << "message box " << i + 1 << " of " << count << " was not answered";
            break;
        }
        texts.push_back(*text);
    }
    return texts;
}

bool ClaverixSession::Prepare(const PasswordOrder& order) {
    auto tick = [&](int id) { return Press(id) && e2e::WaitUntil([&] { return e2e::IsChecked(Item(id)); }); };
    if (order.upperCase && !tick(UpperOption)) return false;
    if (order.dictionary) {
        EXPECT_TRUE(e2e::IsEnabled(Item(DictionaryCheck))) << "le.txt was not found at start";
        if (!tick(DictionaryCheck) || !ChooseCount(CountLists[0], order.total)) return false;
    } else if (!ChooseCounts(order.total, order.perLine, order.digits, order.letters, order.signs)) {
        return false;
    }
    return SetFileName(order.fileName);
}

void ClaverixSession::MakePassword(const PasswordOrder& order, const std::string& screenshot) {
    ASSERT_TRUE(Prepare(order));
    const int lines = order.dictionary ? 1 : (order.total + order.perLine - 1) / order.perLine;
    EXPECT_EQ(CreateAndAnswer(lines), std::vector<std::string>(lines, "password creado ..."));
    e2e::Shoot(screenshot);
    ASSERT_TRUE(Press(ExitButton));
    EXPECT_TRUE(program_.WaitForExit());
    EXPECT_EQ(program_.ExitCode(), std::optional<DWORD>(0));
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

std::optional<std::string> JoinedPassword(const std::string& bytes) {
    const auto lines = PasswordLines(bytes);
    if (!lines) return std::nullopt;
    std::string joined;
    for (const std::string& line : *lines) joined += line;
    return joined;
}

std::string CyclingWordList(const std::vector<std::string>& words) {
    std::string list;
    for (std::size_t line = 0; line < 88036; ++line) list += words[line % words.size()] + "\r\n";
    return list;
}

std::string WordList() {
    if (auto built = e2e::ReadFileBytes(e2e::WinePath(WORD_LIST_LINUX))) return *built;
    return CyclingWordList({"casa", "cami\xF3n", "\xC1rbol", "murci\xE9lago"});
}
