// The driver against driver_target.exe, a window whose reactions are known: every call the programs' tests
// rely on is checked across the process boundary, with Windows-1252 texts above 127.
#include <gtest/gtest.h>

#include <cstring>

#include "driver.h"
#include "temp_folder.h"

using namespace e2e;

namespace {

constexpr char TargetCaption[] = "Blanco de pruebas \xB7 driver";
constexpr char TargetClass[] = "DriverTarget";
constexpr int EditId = 101, ListId = 102, CheckId = 103, MessageId = 104, CopyId = 105, DisabledId = 106,
              RepeatId = 107, QuestionId = 108, HoldId = 109, EventsId = 110;

class Driver : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(StartTarget(target_, window_)); }

    static void StartTarget(Program& program, HWND& window) {
        program = Program::Launch(DRIVER_TARGET_EXE, "C:\\");
        ASSERT_TRUE(program) << program.Error();
        window = WaitForTopWindow(program.Pid(), TargetCaption, TargetClass);
        ASSERT_NE(window, nullptr) << "the target's window did not appear";
    }

    HWND Item(int id) const { return Control(window_, id); }
    std::string Events() const { return WindowText(Item(EventsId)); }
    // The target's whole event record becomes exactly `expected`.
    ::testing::AssertionResult EventsBecome(const std::string& expected) const {
        if (WaitUntil([&] { return Events() == expected; })) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "events are \"" << Events() << "\", expected \"" << expected << "\"";
    }

    Program target_;
    HWND window_ = nullptr;
};

TEST_F(Driver, FindsTopWindowsByProcessCaptionAndClass) {
    EXPECT_EQ(TopWindows(target_.Pid()), std::vector<HWND>{window_});
    EXPECT_EQ(FindTopWindow(target_.Pid(), TargetCaption), window_);
    EXPECT_EQ(FindTopWindow(target_.Pid(), {}, TargetClass), window_);
    EXPECT_EQ(FindTopWindow(target_.Pid(), "Blanco de pruebas"), nullptr) << "a caption must match whole";
    EXPECT_EQ(FindTopWindow(target_.Pid(), TargetCaption, "#32770"), nullptr);
    EXPECT_EQ(FindTopWindow(GetCurrentProcessId(), {}, TargetClass), nullptr);
    EXPECT_EQ(WaitForTopWindow(target_.Pid(), "Otra", {}, Milliseconds(100)), nullptr);
    EXPECT_EQ(WindowText(window_), TargetCaption);
}

TEST_F(Driver, ReadsAndSetsControlTextsByteExact) {
    std::string every;
    for (int b = 32; b < 256; ++b) every.push_back(static_cast<char>(b));
    ASSERT_TRUE(SetWindowTextTo(Item(EditId), every));
    EXPECT_EQ(WindowText(Item(EditId)), every);
    ASSERT_TRUE(SetWindowTextTo(Item(EditId), ""));
    EXPECT_EQ(WindowText(Item(EditId)), "");
    EXPECT_EQ(WindowText(Item(RepeatId)), "&Repetir");
    EXPECT_EQ(ClassName(Item(EditId)), "Edit");
    EXPECT_EQ(ClassName(Item(ListId)), "ListBox");
    EXPECT_EQ(Control(window_, 999), nullptr);
}

TEST_F(Driver, ReportsStateStyleAndGeometry) {
    EXPECT_TRUE(IsEnabled(Item(MessageId)));
    EXPECT_FALSE(IsEnabled(Item(DisabledId)));
    EXPECT_TRUE(IsVisible(Item(ListId)));
    EXPECT_EQ(ControlId(Item(ListId)), ListId);
    EXPECT_TRUE(Style(Item(EditId)) & ES_AUTOHSCROLL);
    // Wine's edit control takes WS_BORDER off and draws the border itself (without WS_EX_CLIENTEDGE).
    EXPECT_EQ(Style(Item(EditId)) & WS_BORDER, 0);
    EXPECT_TRUE(Style(Item(ListId)) & WS_BORDER);
    EXPECT_EQ(Style(Item(CheckId)) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_TRUE(Style(Item(ListId)) & LBS_NOTIFY);
    EXPECT_EQ(Style(window_) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(ExStyle(window_) & (WS_EX_WINDOWEDGE | WS_EX_TOPMOST), WS_EX_WINDOWEDGE);
    EXPECT_EQ(Owner(window_), nullptr);
    const RECT frame = WindowRect(window_);  // left, top, width, height
    EXPECT_EQ((std::vector<LONG>{frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top}),
              (std::vector<LONG>{420, 40, 360, 260}));
    const RECT list = ClientRect(Item(ListId));
    EXPECT_EQ((std::vector<LONG>{list.left, list.top}), (std::vector<LONG>{0, 0}));
    EXPECT_GT(list.right, 150);
    EXPECT_GT(list.bottom, 80);
}

TEST_F(Driver, ClickPressesEnabledButtonsOnly) {
    EXPECT_FALSE(IsChecked(Item(CheckId)));
    ASSERT_TRUE(Click(Item(CheckId)));
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(Item(CheckId)); }));
    ASSERT_TRUE(Click(Item(CheckId)));
    EXPECT_TRUE(WaitUntil([&] { return CheckState(Item(CheckId)) == BST_UNCHECKED; }));
    EXPECT_FALSE(Click(Item(DisabledId)));
    // Handled in order: a disabled click that got through would show before the repeat.
    ASSERT_TRUE(ClickControl(window_, RepeatId));
    EXPECT_TRUE(EventsBecome("repeat;"));
}

TEST_F(Driver, MouseClickAtAPointReachesTheWindowThere) {
    ASSERT_TRUE(BringToFront(window_));
    RECT box = WindowRect(Item(CheckId));
    ASSERT_TRUE(ClickAt({box.left + 6, (box.top + box.bottom) / 2}));
    EXPECT_TRUE(WaitUntil([&] { return IsChecked(Item(CheckId)); }));
    RECT repeat = WindowRect(Item(RepeatId));
    ASSERT_TRUE(ClickAt({(repeat.left + repeat.right) / 2, (repeat.top + repeat.bottom) / 2}));
    EXPECT_TRUE(EventsBecome("repeat;"));
}

TEST_F(Driver, CloseEndsTheProgramAsItsCloseButtonWould) {
    Close(window_);
    ASSERT_TRUE(target_.WaitForExit());
    EXPECT_EQ(target_.ExitCode(), std::optional<DWORD>(0));
    EXPECT_FALSE(IsWindow(window_));
}

TEST_F(Driver, ReadsListLinesAndDoubleClicksOne) {
    HWND list = Item(ListId);
    EXPECT_EQ(ListCount(list), 5);
    EXPECT_EQ(ListLines(list),
              (std::vector<std::string>{"uno", "dos", "tres \xF1", "\xBF" "cuatro?", "cinco \x80"}));
    EXPECT_EQ(ListSelection(list), -1);
    EXPECT_TRUE(ListSelections(list).empty());
    auto third = ListItemRect(list, 2);
    auto fourth = ListItemRect(list, 3);
    ASSERT_TRUE(third && fourth);
    EXPECT_EQ(fourth->top, third->bottom);
    EXPECT_FALSE(ListItemRect(list, 99).has_value());
    EXPECT_FALSE(DoubleClickListLine(list, 99));

    ASSERT_TRUE(DoubleClickListLine(list, 3));
    EXPECT_TRUE(EventsBecome("dblclk:3;"));
    EXPECT_EQ(ListSelection(list), 3);
    EXPECT_EQ(ListSelections(list), std::vector<int>{3});
}

TEST_F(Driver, ReadsAnUnownedMessageBoxByteExact) {
    EXPECT_FALSE(FindMessageBox(target_.Pid()).has_value()) << "the main window is no message box";
    ASSERT_TRUE(Click(Item(MessageId)));
    auto box = WaitForMessageBox(target_.Pid());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->title, "Atenci\xF3n");
    EXPECT_EQ(box->text, "\xBF" "Seguro? S\xED, contrase\xF1" "a \xAE \xA1ya!");
    EXPECT_TRUE(box->hasIcon);
    EXPECT_EQ(box->owner, nullptr);
    ASSERT_EQ(box->buttons.size(), 1u);
    EXPECT_EQ(box->buttons[0].id, IDOK);
    // A box without owner leaves the window beneath usable.
    EXPECT_TRUE(IsEnabled(window_));
    EXPECT_EQ(Events(), "") << "the click's handler waits for the answer";
    ASSERT_TRUE(AnswerMessageBox(*box));
    EXPECT_TRUE(EventsBecome("ok;"));
    EXPECT_FALSE(FindMessageBox(target_.Pid()).has_value());
}

TEST_F(Driver, OwnedMessageBoxDisablesItsOwnerAndTakesTheChosenAnswer) {
    ASSERT_TRUE(Click(Item(QuestionId)));
    auto box = WaitForMessageBox(target_.Pid());
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->owner, window_);
    EXPECT_EQ(box->title, "Pregunta");
    EXPECT_EQ(box->text, "\xBFOtra vez?");
    EXPECT_FALSE(box->hasIcon);
    ASSERT_EQ(box->buttons.size(), 2u);
    EXPECT_EQ(box->buttons[0].id, IDYES);
    EXPECT_EQ(box->buttons[1].id, IDNO);
    EXPECT_FALSE(IsEnabled(window_));
    EXPECT_FALSE(Click(Item(RepeatId))) << "the mouse cannot reach a window under a modal box";
    ASSERT_TRUE(AnswerMessageBox(*box, IDNO));
    EXPECT_TRUE(EventsBecome("no;"));
    EXPECT_TRUE(IsEnabled(window_));
}

TEST_F(Driver, TypesIntoTheFocusedControlAndPressesChords) {
    ASSERT_TRUE(BringToFront(Item(EditId)));
    const std::string typed = "Contrase\xF1" "a \x80\xAE\xBF\xA1";
    ASSERT_TRUE(TypeText(typed));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(Item(EditId)) == typed; })) << WindowText(Item(EditId));
    ASSERT_TRUE(PressChord({VK_MENU, 'R'}));
    EXPECT_TRUE(EventsBecome("repeat;"));
}

TEST_F(Driver, BringsAWindowBackFromAnotherProgram) {
    Program other;
    HWND otherWindow = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartTarget(other, otherWindow));
    ASSERT_TRUE(BringToFront(Control(otherWindow, EditId)));
    EXPECT_EQ(GetForegroundWindow(), otherWindow);
    ASSERT_TRUE(BringToFront(Item(EditId)));
    EXPECT_EQ(GetForegroundWindow(), window_);
    ASSERT_TRUE(TypeText("aqu\xED"));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(Item(EditId)) == "aqu\xED"; })) << WindowText(Item(EditId));
    EXPECT_EQ(WindowText(Control(otherWindow, EditId)), "");
}

TEST_F(Driver, ClipboardTextIsByteExactAndMayBeEmpty) {
    ASSERT_TRUE(PutClipboardText("antes \xF1"));
    EXPECT_EQ(ClipboardText(), std::optional<std::string>("antes \xF1"));
    EXPECT_EQ(ClipboardUnicodeText(), std::optional<std::string>("antes \xF1"));
    std::vector<UINT> formats = ClipboardFormats();
    EXPECT_NE(std::find(formats.begin(), formats.end(), CF_TEXT), formats.end());
    EXPECT_NE(std::find(formats.begin(), formats.end(), CF_UNICODETEXT), formats.end());

    const std::string copied = "Contrase\xF1" "a \x80\xAE\xBF\xA1 \x81\x9D\xFF";
    ASSERT_TRUE(SetWindowTextTo(Item(EditId), copied));
    ASSERT_TRUE(Click(Item(CopyId)));
    ASSERT_TRUE(EventsBecome("copied;"));
    EXPECT_EQ(ClipboardText(), std::optional<std::string>(copied));

    ASSERT_TRUE(SetWindowTextTo(Item(EditId), ""));
    ASSERT_TRUE(Click(Item(CopyId)));
    ASSERT_TRUE(EventsBecome("copied;copied;"));
    EXPECT_EQ(ClipboardText(), std::optional<std::string>("")) << "an empty text is still a text";

    ASSERT_TRUE(ClearClipboard());
    EXPECT_EQ(ClipboardText(), std::nullopt);
    EXPECT_TRUE(ClipboardFormats().empty());
}

TEST_F(Driver, ClipboardCallsWaitWhileAnotherProgramHoldsIt) {
    ASSERT_TRUE(PutClipboardText("retenido"));
    ASSERT_TRUE(Click(Item(HoldId)));
    ASSERT_TRUE(EventsBecome("held;"));
    // Read only once the target let it go: the text is there, not a failure of a locked clipboard.
    EXPECT_EQ(ClipboardText(), std::optional<std::string>("retenido"));
    EXPECT_TRUE(EventsBecome("held;released;"));
}

TEST_F(Driver, ScreenshotIsA24BitBitmapOfTheWholeScreen) {
    // A spot of the window's client area that no control covers.
    POINT spot{4, 200};
    ClientToScreen(window_, &spot);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    ASSERT_TRUE(WaitUntil([&] { return CaptureScreen({spot.x, spot.y, spot.x + 1, spot.y + 1}).At(0, 0) == face; }));

    TempFolder folder;
    ASSERT_TRUE(SaveScreenshot(folder / "screen.bmp"));
    auto file = ReadFileBytes(folder / "screen.bmp");
    ASSERT_TRUE(file.has_value());
    BITMAPFILEHEADER header;
    BITMAPINFOHEADER info;
    ASSERT_GE(file->size(), sizeof header + sizeof info);
    std::memcpy(&header, file->data(), sizeof header);
    std::memcpy(&info, file->data() + sizeof header, sizeof info);
    const RECT screen = ScreenRect();
    EXPECT_EQ(header.bfType, 0x4D42);
    EXPECT_EQ(info.biBitCount, 24);
    EXPECT_EQ(info.biWidth, screen.right);
    EXPECT_EQ(info.biHeight, screen.bottom);
    const std::size_t stride = (static_cast<std::size_t>(info.biWidth) * 3 + 3) & ~std::size_t{3};
    ASSERT_EQ(file->size(), header.bfOffBits + stride * info.biHeight);
    EXPECT_EQ(header.bfSize, file->size());
    auto pixel = [&](POINT p) {
        const auto* bgr = reinterpret_cast<const unsigned char*>(file->data()) + header.bfOffBits +
                          stride * (info.biHeight - 1 - p.y) + 3 * p.x;
        return RGB(bgr[2], bgr[1], bgr[0]);
    };
    EXPECT_EQ(pixel(spot), face);
    const POINT corner{screen.right - 1, screen.bottom - 1};  // the desktop, away from every window
    EXPECT_EQ(pixel(corner), CaptureScreen({corner.x, corner.y, corner.x + 1, corner.y + 1}).At(0, 0));
    EXPECT_NE(pixel(corner), face);
}

TEST(DriverProgram, ReportsExitCodesAndLaunchFailures) {
    Program quitter = Program::Launch(PICKER_PROBE_EXE, "C:\\");  // no result file named: exit code 2
    ASSERT_TRUE(quitter) << quitter.Error();
    ASSERT_TRUE(quitter.WaitForExit());
    EXPECT_FALSE(quitter.IsRunning());
    EXPECT_EQ(quitter.ExitCode(), std::optional<DWORD>(2));

    Program missing = Program::Launch("C:\\no\\such\\program.exe", "C:\\");
    EXPECT_FALSE(missing);
    EXPECT_FALSE(missing.Error().empty());
    EXPECT_EQ(missing.ExitCode(), std::nullopt);
}

TEST(DriverProgram, OwnerEndsTheProgramItStillRuns) {
    HANDLE watch = nullptr;
    {
        Program program = Program::Launch(DRIVER_TARGET_EXE, "C:\\");
        ASSERT_TRUE(program) << program.Error();
        ASSERT_NE(WaitForTopWindow(program.Pid(), TargetCaption), nullptr);
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), program.Handle(), GetCurrentProcess(), &watch, SYNCHRONIZE,
                                    FALSE, 0));
        Program moved = std::move(program);
        EXPECT_FALSE(program);
        EXPECT_TRUE(moved.IsRunning());
        EXPECT_EQ(moved.ExitCode(), std::nullopt);
    }
    EXPECT_EQ(WaitForSingleObject(watch, 0), WAIT_OBJECT_0) << "the program outlived its owner";
    CloseHandle(watch);
}

TEST(DriverWait, WaitUntilPollsUntilTrueOrTimesOut) {
    int calls = 0;
    EXPECT_TRUE(WaitUntil([&] { return ++calls == 3; }, Milliseconds(5000)));
    EXPECT_EQ(calls, 3);

    // How often it polls is bounded by the time it took, whatever a loaded machine made of its sleeps: a first
    // call, at most one every 10 ms, and a last one after the timeout.
    calls = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WaitUntil([&] { return ++calls < 0; }, Milliseconds(200)));
    const auto took = std::chrono::duration_cast<Milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_GE(took, Milliseconds(200));
    EXPECT_GE(calls, 2);
    EXPECT_LE(calls, took / Milliseconds(10) + 2) << "polls more often than every 10 ms in " << took.count() << " ms";
}

TEST(DriverFiles, ScratchFoldersAreFreshAndRemovedWithTheirContent) {
    std::string kept;
    {
        ScratchFolder first;
        ScratchFolder second;
        ASSERT_TRUE(first.Valid() && second.Valid());
        EXPECT_EQ(first.Path().rfind("T:\\", 0), 0u) << first.Path();
        EXPECT_NE(first.Path(), second.Path());
        EXPECT_NE(first.Path().back(), '\\');
        const std::string deep = first.MakeFolder("a\\b\xF1\\c");
        EXPECT_EQ(deep, first / "a\\b\xF1\\c");
        EXPECT_TRUE(FileExists(deep));
        ASSERT_TRUE(WriteFileBytes(first / "a\\f.txt", "x\xF1"));
        EXPECT_EQ(ReadFileBytes(first / "a\\f.txt"), std::optional<std::string>("x\xF1"));
        kept = first.Path();
    }
    EXPECT_FALSE(FileExists(kept));
    EXPECT_EQ(ReadFileBytes(kept + "\\a\\f.txt"), std::nullopt);
    EXPECT_EQ(WinePath("/tmp/a b/c.exe"), "Z:\\tmp\\a b\\c.exe");
}

}  // namespace
