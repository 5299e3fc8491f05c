// The owner-drawn list: line drawing into a memory bitmap, and the space bar on a real list box.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "entry_tables.h"
#include "file_list.h"
#include "hidden_window.h"
#include "win_text.h"

namespace {

constexpr int Width = 240, Height = 20;
constexpr COLORREF Sentinel = RGB(1, 2, 3);

// A 32-bit memory bitmap, first filled with the sentinel colour, that one line is drawn into.
class Canvas {
public:
    Canvas() {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, Width, Height);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
        RECT all{0, 0, Width, Height};
        HBRUSH brush = CreateSolidBrush(Sentinel);
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    LRESULT Draw(HWND list, UINT line, UINT action, UINT state) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_LISTBOX;
        item.CtlID = 130;
        item.itemID = line;
        item.itemAction = action;
        item.itemState = state;
        item.hwndItem = list;
        item.hDC = dc_;
        item.rcItem = {0, 0, Width, Height};
        return ListProc(list, WM_DRAWITEM, 130, reinterpret_cast<LPARAM>(&item));
    }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    // How many pixels of the text area have the colour, or have none of the colours known.
    int Count(COLORREF colour) const { return CountIf([&](COLORREF c) { return c == colour; }); }
    int CountOther(std::initializer_list<COLORREF> known) const {
        return CountIf([&](COLORREF c) { return std::find(known.begin(), known.end(), c) == known.end(); });
    }

private:
    template <typename Test>
    int CountIf(Test test) const {
        int count = 0;
        for (int y = 0; y < Height - 1; ++y) {
            for (int x = Height; x < Width; ++x) count += test(At(x, y)) ? 1 : 0;
        }
        return count;
    }

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

COLORREF Sys(int index) { return GetSysColor(index); }

}  // namespace

TEST(FileList, LineNotSelectedIsWindowColouredWithSeparator) {
    HiddenList list({"001 - banco"});
    Canvas canvas;
    EXPECT_EQ(canvas.Draw(list.get(), 0, ODA_DRAWENTIRE, 0), 1);
    EXPECT_EQ(canvas.At(0, 5), Sys(COLOR_WINDOW));
    EXPECT_EQ(canvas.At(Width - 2, 5), Sys(COLOR_WINDOW));
    for (int x : {0, Width / 2, Width - 1}) EXPECT_EQ(canvas.At(x, Height - 1), Sys(COLOR_BTNFACE)) << x;
    EXPECT_GT(canvas.Count(Sys(COLOR_WINDOWTEXT)), 0);
}

TEST(FileList, SelectedLineIsHighlightedFromTheCheckSquareOn) {
    HiddenList list({"001 - banco"});
    Canvas canvas;
    EXPECT_EQ(canvas.Draw(list.get(), 0, ODA_SELECT, ODS_SELECTED), 1);
    EXPECT_EQ(canvas.At(Height - 3, 2), Sentinel);  // left of h - 2: not painted
    EXPECT_EQ(canvas.At(Height - 2, 2), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(canvas.At(Width - 2, 5), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(canvas.At(Width / 2, Height - 1), Sys(COLOR_BTNFACE));
    EXPECT_GT(canvas.Count(Sys(COLOR_HIGHLIGHTTEXT)), 0);
}

TEST(FileList, NoLineAndFocusActionsDrawOnlyWhatTheyShould) {
    HiddenList list({"001 - banco"});
    Canvas empty;
    EXPECT_EQ(empty.Draw(list.get(), static_cast<UINT>(-1), ODA_DRAWENTIRE, 0), 0);
    EXPECT_EQ(empty.Count(Sentinel), (Width - Height) * (Height - 1));

    Canvas focus;
    EXPECT_EQ(focus.Draw(list.get(), 0, ODA_FOCUS, ODS_FOCUS), 1);
    EXPECT_EQ(focus.At(Height - 3, 0), Sentinel);
    int dotted = 0;  // the dotted frame starts at h - 2
    for (int x = Height - 2; x < Width; ++x) dotted += focus.At(x, 0) != Sentinel;
    EXPECT_GT(dotted, (Width - Height) / 4);
    EXPECT_EQ(focus.At(Width / 2, Height / 2), Sentinel);  // a frame, not a fill
}

TEST(FileList, CheckValueIsVisibleInTheSquare) {
    HiddenList list({"001 - a"});
    Canvas off, on;
    off.Draw(list.get(), 0, ODA_DRAWENTIRE, 0);
    SendMessageW(list.get(), LB_SETITEMDATA, 0, 1);
    on.Draw(list.get(), 0, ODA_DRAWENTIRE, 0);
    int differing = 0;
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Height - 2; ++x) differing += off.At(x, y) != on.At(x, y);
    }
    EXPECT_GT(differing, 3);
}

TEST(FileList, MarkedLineTakesOtherColoursThanTheWindowText) {
    HiddenList list({"001 - banco", "002 - correo"});
    EntryTables tables;
    tables.Add("banco", "x");
    tables.Add("correo", "y");
    tables.SetMark(1, "001");
    InstallListProc(list.get(), tables);
    SeedLineColours(12345);
    Canvas marked, plain;
    marked.Draw(list.get(), 0, ODA_DRAWENTIRE, 0);
    plain.Draw(list.get(), 1, ODA_DRAWENTIRE, 0);
    RemoveListProc(list.get());
    EXPECT_EQ(marked.Count(Sys(COLOR_WINDOWTEXT)), 0);
    EXPECT_GT(marked.CountOther({Sys(COLOR_WINDOW), Sys(COLOR_BTNFACE)}), 0);
    EXPECT_GT(plain.Count(Sys(COLOR_WINDOWTEXT)), 0);
}

TEST(FileList, LongLineIsReadWhole) {
    // Far past any fixed buffer: the number another line's mark matches stands at the very end.
    std::string longLine = "002 - " + std::string(300, 'n') + "001";
    HiddenList list({"001 - a", longLine.c_str()});
    EntryTables tables;
    tables.Add("a", "x");
    tables.Add(longLine.substr(6), "y");
    tables.SetMark(1, "001");
    InstallListProc(list.get(), tables);
    Canvas canvas;
    EXPECT_EQ(canvas.Draw(list.get(), 1, ODA_DRAWENTIRE, 0), 1);
    RemoveListProc(list.get());
    EXPECT_EQ(canvas.Count(Sys(COLOR_WINDOWTEXT)), 0);
}

TEST(FileList, SpaceTogglesTheSelectedLineOnlyAndNeverWithoutSelection) {
    HiddenList list({"001 - a", "002 - b", "003 - c"});
    EntryTables tables;
    InstallListProc(list.get(), tables);
    SendMessageW(list.get(), LB_SETCURSEL, 1, 0);
    SendMessageW(list.get(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(list.Value(1), 1);
    EXPECT_EQ(list.Value(0), 0);
    EXPECT_EQ(SendMessageW(list.get(), LB_GETCURSEL, 0, 0), 1);
    SendMessageW(list.get(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(list.Value(1), 0);

    SendMessageW(list.get(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendMessageW(list.get(), WM_KEYDOWN, VK_SPACE, 0);
    for (int line = 0; line < 3; ++line) EXPECT_EQ(list.Value(line), 0) << line;
    RemoveListProc(list.get());
}

TEST(FileList, MouseMovesPassOnlyWithTheLeftButtonAlone) {
    HiddenList list({"001 - a", "002 - b", "003 - c"});
    EntryTables tables;
    InstallListProc(list.get(), tables);
    auto middleOf = [&](int line) {
        RECT rect{};
        SendMessageW(list.get(), LB_GETITEMRECT, line, reinterpret_cast<LPARAM>(&rect));
        return MAKELPARAM(rect.left + 5, (rect.top + rect.bottom) / 2);
    };
    auto selection = [&] { return SendMessageW(list.get(), LB_GETCURSEL, 0, 0); };
    // The button goes down on the first line: the list captures the mouse and follows every move it is given
    // until the button goes up, so a move that reaches it moves the selection.
    SendMessageW(list.get(), WM_LBUTTONDOWN, MK_LBUTTON, middleOf(0));
    ASSERT_EQ(selection(), 0);
    SendMessageW(list.get(), WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, middleOf(2));
    SendMessageW(list.get(), WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, middleOf(2));
    EXPECT_EQ(selection(), 0);
    SendMessageW(list.get(), WM_MOUSEMOVE, MK_LBUTTON, middleOf(1));
    EXPECT_EQ(selection(), 1);
    SendMessageW(list.get(), WM_LBUTTONUP, 0, middleOf(1));
    RemoveListProc(list.get());
}
