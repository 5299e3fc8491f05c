// One run of the real Claverix.exe for an end-to-end test: a fresh folder with a copy of the program (and,
// when asked, a word list), the started process and its dialog, and the steps a user takes in it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver.h"
#include "session_support.h"

// What the user asks Claverix for. In dictionary mode only `total` (the word's length) counts.
struct PasswordOrder {
    std::string fileName;
    int total = 0, perLine = 0, digits = 0, letters = 0, signs = 0;
    bool dictionary = false;
    bool upperCase = false;  // "Solo Mayusculas" instead of the preset "Solo Minusculas"
};

class ClaverixSession {
public:
    // wordList: the bytes of le.txt to put beside the program before it starts; none leaves it out.
    explicit ClaverixSession(std::optional<std::string> wordList = std::nullopt);
    // The program where an installer put it, started there (its password files go into that folder).
    struct Installed {
        std::string exePath;
    };
    explicit ClaverixSession(const Installed& installed);
    // A copy of the program started in a folder the test made; the copy goes with the session.
    struct CopiedTo {
        std::string folder;
    };
    explicit ClaverixSession(const CopiedTo& place);
    ~ClaverixSession();

    // Empty when the program started and showed its dialog; otherwise what went wrong.
    const std::string& Problem() const { return problem_; }
    HWND Dialog() const { return dialog_; }
    HWND Item(int id) const { return e2e::Control(dialog_, id); }
    e2e::Program& Process() { return program_; }
    // A path in the program's folder.
    std::string InFolder(std::string_view name) const { return programFolder_ + "\\" + std::string(name); }
    const std::string& Folder() const { return programFolder_; }

    // Scrolls the count list to the number and clicks its line, as the user does; true once it is selected.
    bool ChooseCount(int listId, int value);
    // The two halves of ChooseCount: the line must be scrolled into view before it can be clicked; the
    // click is posted, not waited for.
    bool ScrollCountList(int listId, int value);
    bool ClickCountLine(int listId, int value);
    bool ChooseCounts(int total, int perLine, int digits, int letters, int signs);
    // True once no count list has a selection.
    bool CountsCleared();
    bool SetFileName(std::string_view name);
    // Clicks a button, check box or option (BM_CLICK: the state changes and the dialog is told).
    bool Press(int id);
    // Posts to the dialog the BN_CLICKED notification of the button, as its click would send it.
    bool Notify(int id);

    // The next message box of the program, once shown.
    std::optional<e2e::MessageBoxView> NextMessage(e2e::Milliseconds timeout = e2e::DefaultTimeout);
    // Presses "Crear", then answers every message box that follows until `count` have been answered; gives
    // their texts. Each box is checked to be a plain OK box titled "..." without icon or owner.
    std::vector<std::string> CreateAndAnswer(int count);
    // Chooses the order as the user does: the letter case, the mode, the counts, the file name.
    bool Prepare(const PasswordOrder& order);
    // The road's step: chooses the order, presses "Crear", answers every "password creado ..." (one per
    // line), optionally saves a screenshot, and ends the program with "Salir".
    void MakePassword(const PasswordOrder& order, const std::string& screenshot = {});

private:
    void Start(const std::string& exe);

    e2e::ScratchFolder folder_;  // empty and unused for an installed program
    std::string programFolder_;
    e2e::Program program_;
    HWND dialog_ = nullptr;
    std::string problem_;
    std::string copiedExe_;
};

// A session started in a test, which goes no further when the program did not start.
#define START_CLAVERIX(session, ...)      \
    ClaverixSession session{__VA_ARGS__}; \
    ASSERT_EQ(session.Problem(), "")

// The lines of a password file: each must end with CR CR LF; nothing when a line does not.
std::optional<std::vector<std::string>> PasswordLines(const std::string& bytes);
// The password a file of Claverix holds as Sellomar reads it: every CR CR LF line, joined. Nothing when the
// file does not end its lines that way.
std::optional<std::string> JoinedPassword(const std::string& bytes);

// A word list of the 88036 lines Claverix draws from, cycling through `words` (Windows-1252), so that any
// line drawn is one of them.
std::string CyclingWordList(const std::vector<std::string>& words);
// The bytes of le.txt for a road: the word list built beside Claverix.exe, or, when the build has none, a
// list of a few words.
std::string WordList();
