#include "road_steps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "dictionary.h"
#include "loader_texts.h"
#include "protector_texts.h"
#include "unique.h"
#include "win_text.h"

namespace road {

namespace {

enum ClaverixId { TotalList = 1005, UpperOption = 1011, ExitButton = 1015, DictionaryCheck = 1021 };
enum SellomarId { PasswordBox = 1002, SearchButton = 1004, CloseButton = 1005 };

constexpr std::string_view SellomarCaption = "Protege tus contrase\xF1" "as, es lo mejor ...";
constexpr std::string_view Created = "password creado ...";

std::size_t TextLength(HWND window) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    return length;
}

// Types into the field as the user does: the keys go to the focus, so the field is brought to the front
// first. A password field hides its text from other processes on Windows, so its length tells when the
// program has taken every key.
bool TypeInto(HWND field, std::string_view text) {
    return field != nullptr && e2e::BringToFront(field) && e2e::TypeText(text) &&
           e2e::WaitUntil([&] { return TextLength(field) == text.size(); });
}

// Saves what the screen shows, when a path is given.
void Shoot(const std::string& path) {
    if (path.empty()) return;
    EXPECT_TRUE(e2e::SaveScreenshot(path)) << path;
}

// The next message box of the program, checked to be a plain OK box without owner, with this title.
std::string AnswerNext(DWORD pid, std::string_view title, const std::string& screenshot = {}) {
    const auto box = e2e::WaitForMessageBox(pid);
    if (!box) {
        ADD_FAILURE() << "no message box";
        return {};
    }
    EXPECT_EQ(box->title, title) << box->text;
    EXPECT_EQ(box->owner, nullptr) << box->text;
    EXPECT_EQ(box->buttons.size(), 1u) << box->text;
    EXPECT_FALSE(box->hasIcon) << box->text;
    Shoot(screenshot);
    EXPECT_TRUE(e2e::AnswerMessageBox(*box)) << box->text;
    return box->text;
}

std::optional<ULONGLONG> FileIndex(const std::wstring& path) {
    UniqueFile file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
    return (static_cast<ULONGLONG>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
}

void SnapshotInto(const std::string& root, const std::string& relative, TreeState& state) {
    const std::string folder = relative.empty() ? root : root + "\\" + relative;
    WIN32_FIND_DATAW entry{};
    UniqueFind find(FindFirstFileW(Wide(folder + "\\*").c_str(), &entry));
    if (!find) {
        ADD_FAILURE() << "cannot list " << folder;
        return;
    }
    do {
        const std::string name = NarrowLossy(entry.cFileName);
        if (name == "." || name == "..") continue;
        const std::string inside = relative.empty() ? name : relative + "\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            SnapshotInto(root, inside, state);
            continue;
        }
        FileState file;
        file.created = entry.ftCreationTime;
        file.written = entry.ftLastWriteTime;
        const auto bytes = e2e::ReadFileBytes(root + "\\" + inside);
        const auto index = FileIndex(Wide(root + "\\" + inside));
        EXPECT_TRUE(bytes && index) << "cannot read " << inside;
        file.bytes = bytes.value_or("");
        file.fileIndex = index.value_or(0);
        state[inside] = std::move(file);
    } while (FindNextFileW(find.get(), &entry));
}

}  // namespace

std::string CyclingWordList(const std::vector<std::string>& words) {
    std::string list;
    for (int line = 0; line < WordListLines; ++line) list += words[line % words.size()] + "\r\n";
    return list;
}

std::string WordList() {
    if (auto built = e2e::ReadFileBytes(e2e::WinePath(WORD_LIST_LINUX))) return *built;
    return CyclingWordList({"casa", "cami\xF3n", "\xC1rbol", "murci\xE9lago"});
}

std::optional<std::string> JoinedPassword(const std::string& bytes) {
    const auto lines = PasswordLines(bytes);
    if (!lines) return std::nullopt;
    std::string joined;
    for (const std::string& line : *lines) joined += line;
    return joined;
}

void MakePassword(ClaverixSession& claverix, const PasswordOrder& order, const std::string& screenshot) {
    if (order.upperCase) {
        ASSERT_TRUE(claverix.Press(UpperOption));
        ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::IsChecked(claverix.Item(UpperOption)); }));
    }
    if (order.dictionary) {
        ASSERT_TRUE(e2e::IsEnabled(claverix.Item(DictionaryCheck))) << "le.txt was not found at start";
        ASSERT_TRUE(claverix.Press(DictionaryCheck));
        ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::IsChecked(claverix.Item(DictionaryCheck)); }));
        ASSERT_TRUE(claverix.ChooseCount(TotalList, order.total));
    } else {
        ASSERT_TRUE(claverix.ChooseCounts(order.total, order.perLine, order.digits, order.letters, order.signs));
    }
    ASSERT_TRUE(claverix.SetFileName(order.fileName));
    const int lines = order.dictionary ? 1 : (order.total + order.perLine - 1) / order.perLine;
    EXPECT_EQ(claverix.CreateAndAnswer(lines), std::vector<std::string>(lines, std::string(Created)));
    Shoot(screenshot);
    ASSERT_TRUE(claverix.Press(ExitButton));
    EXPECT_TRUE(claverix.Process().WaitForExit());
    EXPECT_EQ(claverix.Process().ExitCode(), std::optional<DWORD>(0));
}

Sellomar::Sellomar() {
    if (!folder_.Valid()) {
        ADD_FAILURE() << "no scratch folder on T:";
        return;
    }
    const std::string exe = folder_ / "Sellomar.exe";
    if (!CopyFileW(Wide(e2e::WinePath(SELLOMAR_EXE_LINUX)).c_str(), Wide(exe).c_str(), TRUE)) {
        ADD_FAILURE() << "cannot copy Sellomar.exe (error " << GetLastError() << ")";
        return;
    }
    Start(exe, folder_.Path());
}

Sellomar::Sellomar(const std::string& installedExe) {
    Start(installedExe, installedExe.substr(0, installedExe.rfind('\\')));
}

void Sellomar::Start(const std::string& exe, const std::string& folder) {
    program_ = e2e::Program::Launch(exe, folder);
    if (!program_) {
        ADD_FAILURE() << "Sellomar did not start: " << program_.Error();
        return;
    }
    std::optional<e2e::MessageBoxView> box;
    e2e::WaitUntil([&] {
        dialog_ = e2e::FindTopWindow(program_.Pid(), SellomarCaption, "#32770");
        box = e2e::FindMessageBox(program_.Pid());
        return dialog_ != nullptr || box.has_value();
    });
    if (box) {
        registered_ = true;
        EXPECT_EQ(box->text, RegisteredMessage);
        EXPECT_TRUE(e2e::AnswerMessageBox(*box));
        dialog_ = e2e::WaitForTopWindow(program_.Pid(), SellomarCaption, "#32770");
    }
    if (dialog_ == nullptr) ADD_FAILURE() << "Sellomar showed no dialog";
}

std::string Sellomar::Protect(std::string_view password, const std::string& source, const std::string& target,
                              const std::string& screenshot) {
    if (dialog_ == nullptr) return {};
    EXPECT_TRUE(TypeInto(e2e::Control(dialog_, PasswordBox), password));
    EXPECT_TRUE(e2e::ClickControl(dialog_, SearchButton));
    for (const auto& [message, folder] : {std::pair{FirstPickMessage, &source}, std::pair{SecondPickMessage, &target}}) {
        EXPECT_EQ(AnswerNext(program_.Pid(), ProgrammerTitle), message);
        const auto browse = e2e::WaitForBrowseDialog(program_.Pid());
        if (!browse) {
            ADD_FAILURE() << "no browse dialog for " << *folder;
            return {};
        }
        if (!e2e::BrowseChoose(*browse, *folder)) {
            ADD_FAILURE() << "cannot choose " << *folder;
            return {};
        }
    }
    return AnswerNext(program_.Pid(), ProgrammerTitle, screenshot);
}

void Sellomar::Quit() {
    ASSERT_TRUE(e2e::ClickControl(dialog_, CloseButton));
    EXPECT_TRUE(program_.WaitForExit());
    EXPECT_EQ(program_.ExitCode(), std::optional<DWORD>(0));
}

void LoadFolder(portaclip_e2e::Session& portaclip, const std::string& folder, std::string_view password) {
    using namespace portaclip_e2e;
    HWND login = portaclip.OpenLogin();
    ASSERT_NE(login, nullptr) << "no login dialog";
    ASSERT_TRUE(TypeInto(e2e::Control(login, FirstEntry), password));
    ASSERT_TRUE(TypeInto(e2e::Control(login, SecondEntry), password));
    ASSERT_TRUE(e2e::ClickControl(login, AcceptLogin));
    ASSERT_TRUE(e2e::WaitForWindowGone(login)) << "\"Aceptar\" did not take the password";
    ASSERT_TRUE(portaclip.PickAndConfirm(folder));
}

std::vector<std::string> ListedNames(portaclip_e2e::Session& portaclip) {
    std::vector<std::string> names;
    const std::vector<std::string> lines = e2e::ListLines(portaclip.List());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        char number[8];
        std::snprintf(number, sizeof number, "%03zu - ", i + 1);
        EXPECT_EQ(lines[i].substr(0, 6), number) << lines[i];
        names.push_back(lines[i].substr(std::min<std::size_t>(6, lines[i].size())));
    }
    return names;
}

void PasteAndClear(portaclip_e2e::Session& portaclip, int line, const std::string& expected,
                   const std::string& screenshot) {
    ASSERT_TRUE(e2e::ClearClipboard());
    ASSERT_TRUE(portaclip.DoubleClickLine(line));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ClipboardText() == expected; }))
        << "the clipboard holds \"" << e2e::ClipboardText().value_or("(no text)") << "\", not \"" << expected << "\"";
    Shoot(screenshot);

    // ALT+B, as typed on the keyboard: the hot key is the system's, the chord goes through the input queue.
    ASSERT_TRUE(e2e::BringToFront(portaclip.List()));
    ASSERT_TRUE(portaclip.HotKey('B'));
    portaclip.ExpectMessage(PlainTitle, ClipboardEmptiedText);
    EXPECT_EQ(e2e::ClipboardText(), std::nullopt);
    EXPECT_TRUE(e2e::ClipboardFormats().empty());
}

TreeState Snapshot(const std::string& root) {
    TreeState state;
    SnapshotInto(root, "", state);
    return state;
}

}  // namespace road
