// The shared folder picker through the real browse-for-folder dialog, shown by picker_probe.exe in a process
// of its own and answered from here as a user would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver.h"
#include "temp_folder.h"

using namespace e2e;

namespace {

constexpr char LoaderPrompt[] = "Elige Unidad o Carpeta de las contrase\xF1" "as ...\r\n\xAE Velmor Soft";
constexpr char ProtectorPrompt[] = "Elige Carpeta ...\r\n\xAE Velmor Soft";
constexpr char ProbeCaption[] = "Sonda del selector";

std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    if (start < bytes.size()) lines.push_back(bytes.substr(start));  // an unterminated rest is a fault too
    return lines;
}

// The lines of text drawn in the window: bands of rows holding dark pixels, with rows of none between them.
// Zero while the window is not painted yet.
int DrawnTextLines(HWND window) {
    ScreenImage image = CaptureScreen(WindowRect(window));
    if (image.pixels.empty()) return 0;
    const COLORREF background = image.At(image.width - 1, image.height - 1);
    auto isInk = [&](COLORREF c) {
        return std::abs(GetRValue(c) - GetRValue(background)) + std::abs(GetGValue(c) - GetGValue(background)) +
                   std::abs(GetBValue(c) - GetBValue(background)) > 150;
    };
    int lines = 0;
    bool inLine = false;
    for (int y = 0; y < image.height; ++y) {
        bool ink = false;
        for (int x = 0; x < image.width && !ink; ++x) ink = isInk(image.At(x, y));
        if (ink && !inLine) ++lines;
        inLine = ink;
    }
    // A line cut off by the bottom edge does not count as shown.
    return inLine ? -1 : lines;
}

std::string Quoted(const std::string& text) {
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

class FolderPicker : public ::testing::Test {
protected:
    // Starts the probe with the program's first line for `picks` picks in a row; the test answers them.
    void Start(const std::string& variant, int picks) {
        ASSERT_TRUE(scratch_.Valid()) << "drive T: is missing: run inside the Wine session";
        std::string arguments = Quoted(ResultFile());
        arguments += ' ' + variant + ' ' + std::to_string(picks);
        probe_ = Program::Launch(PICKER_PROBE_EXE, scratch_.Path(), arguments);
        ASSERT_TRUE(probe_) << probe_.Error();
    }

    // The next browse dialog the probe shows.
    void NextDialog(BrowseDialog& dialog) {
        auto found = WaitForBrowseDialog(probe_.Pid());
        ASSERT_TRUE(found.has_value()) << "no browse dialog";
        dialog = *found;
    }

    // What the probe wrote once it ended: each pick's result, then ChosenFolder().
    std::vector<std::string> Results() {
        EXPECT_TRUE(probe_.WaitForExit()) << "the probe did not end";
        EXPECT_EQ(probe_.ExitCode(), std::optional<DWORD>(0));
        auto bytes = ReadFileBytes(ResultFile());
        EXPECT_TRUE(bytes.has_value()) << "no result file";
        return bytes ? SplitLines(*bytes) : std::vector<std::string>{};
    }

    std::string ResultFile() const { return results_ / "result.txt"; }

    // Declared first, removed last: after the probe is gone.
    ScratchFolder scratch_;
    TempFolder results_;
    Program probe_;
};

// Each program's prompt, shown whole in two lines; the loader's over the program's window, disabled meanwhile.
TEST_F(FolderPicker, PromptsShowBothLinesAndTheRegisteredSign) {
    for (const auto& [variant, prompt] : {std::pair{"loader", LoaderPrompt}, std::pair{"protector", ProtectorPrompt}}) {
        SCOPED_TRACE(variant);
        ASSERT_NO_FATAL_FAILURE(Start(variant, 1));
        BrowseDialog dialog;
        ASSERT_NO_FATAL_FAILURE(NextDialog(dialog));
        EXPECT_EQ(BrowsePrompt(dialog), prompt);
        EXPECT_TRUE(WaitUntil([&] { return DrawnTextLines(dialog.prompt) == 2; }))
            << "drawn lines: " << DrawnTextLines(dialog.prompt);
        EXPECT_EQ(Owner(dialog.window), FindTopWindow(probe_.Pid(), ProbeCaption));
        EXPECT_FALSE(IsEnabled(Owner(dialog.window)));
        EXPECT_FALSE(FindMessageBox(probe_.Pid()).has_value()) << "a dialog is no message box";
        ASSERT_TRUE(BrowseCancel(dialog));
        EXPECT_EQ(Results(), (std::vector<std::string>{"", ""}));
    }
}

// A folder selected by its path shows its label, and the pick gives the path back: a drive root keeps its
// backslash, a subfolder has none at its end, an accented name comes back byte for byte.
TEST_F(FolderPicker, SelectedFolderShowsItsLabelAndComesBackExact) {
    const std::string accented = scratch_.MakeFolder("Contrase\xF1" "as \xC1\xE9\xFC");
    const struct {
        std::string folder, label, variant, screenshot;
    } picks[] = {{"T:\\", " (T:)", "loader", ""},
                 {scratch_.MakeFolder("sub\\deeper"), "deeper", "protector", ""},
                 {accented, "Contrase\xF1" "as \xC1\xE9\xFC", "loader", SCREENSHOT_DIR "\\picker.bmp"}};
    for (const auto& pick : picks) {
        SCOPED_TRACE(pick.folder);
        ASSERT_NO_FATAL_FAILURE(Start(pick.variant, 1));
        BrowseDialog dialog;
        ASSERT_NO_FATAL_FAILURE(NextDialog(dialog));
        ASSERT_TRUE(BrowseSelect(dialog, pick.folder));
        std::vector<std::string> labels = BrowseSelectionLabels(dialog);
        ASSERT_FALSE(labels.empty());
        EXPECT_EQ(labels.back(), pick.label);
        if (!pick.screenshot.empty()) EXPECT_TRUE(SaveScreenshot(pick.screenshot));
        ASSERT_TRUE(Click(dialog.ok));
        ASSERT_TRUE(WaitForWindowGone(dialog.window));
        EXPECT_EQ(Results(), (std::vector<std::string>{pick.folder, pick.folder}));
    }
}

TEST_F(FolderPicker, CancelGivesNothingAndKeepsThePreviousPick) {
    const std::string first = scratch_.MakeFolder("primera");
    ASSERT_NO_FATAL_FAILURE(Start("loader", 2));
    BrowseDialog dialog;
    ASSERT_NO_FATAL_FAILURE(NextDialog(dialog));
    ASSERT_TRUE(BrowseChoose(dialog, first));
    ASSERT_NO_FATAL_FAILURE(NextDialog(dialog));
    ASSERT_TRUE(BrowseCancel(dialog));
    EXPECT_EQ(Results(), (std::vector<std::string>{first, "", first}));
}

TEST_F(FolderPicker, TwoPicksInARowEachGiveTheirOwnFolder) {
    const std::string first = scratch_.MakeFolder("origen");
    const std::string second = scratch_.MakeFolder("destino\\dentro");
    ASSERT_NO_FATAL_FAILURE(Start("protector", 2));
    BrowseDialog dialog;
    ASSERT_NO_FATAL_FAILURE(NextDialog(dialog));
    EXPECT_EQ(BrowsePrompt(dialog), ProtectorPrompt);
    ASSERT_TRUE(BrowseChoose(dialog, first));
    ASSERT_NO_FATAL_FAILURE(NextDialog(dialog));
    EXPECT_EQ(BrowsePrompt(dialog), ProtectorPrompt);
    ASSERT_TRUE(BrowseChoose(dialog, second));
    EXPECT_EQ(Results(), (std::vector<std::string>{first, second, second}));
}

TEST_F(FolderPicker, SelectingAMissingFolderFailsAndLeavesTheDialogOpen) {
    scratch_.MakeFolder("existe");
    ASSERT_NO_FATAL_FAILURE(Start("protector", 1));
    BrowseDialog dialog;
    ASSERT_NO_FATAL_FAILURE(NextDialog(dialog));
    EXPECT_FALSE(BrowseSelect(dialog, scratch_ / "no existe", Milliseconds(2000)));
    EXPECT_FALSE(BrowseSelect(dialog, "Q:\\", Milliseconds(2000)));
    EXPECT_TRUE(IsVisible(dialog.window));
    ASSERT_TRUE(BrowseCancel(dialog));
    EXPECT_EQ(Results(), (std::vector<std::string>{"", ""}));
}

}  // namespace
