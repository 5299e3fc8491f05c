#include "file_list.h"

#include <random>
#include <string>

#include "loader_commands.h"
#include "win_text.h"

namespace {

WNDPROC previousListProc = nullptr;
const EntryTables* markTables = nullptr;
std::minstd_rand colourSource;

COLORREF RandomColour() {
    std::uniform_int_distribution<int> channel(1, 255);
    int red = channel(colourSource), green = channel(colourSource), blue = channel(colourSource);
    return RGB(red, green, blue);
}

LRESULT PassOn(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (previousListProc == nullptr) return DefWindowProcW(list, message, wParam, lParam);
    return CallWindowProcW(previousListProc, list, message, wParam, lParam);
}

std::wstring LineText(HWND list, int index) {
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    // Sized to the line, however long its file name.
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

void DrawSeparator(HDC dc, const RECT& line) {
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, line.left, line.bottom - 1, nullptr);
    LineTo(dc, line.right, line.bottom - 1);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

// A check box in the square left of the text, ticked while the line's check value is not 0.
void DrawCheckSquare(HDC dc, const RECT& line, int height, LRESULT value) {
    int side = height - 6;
    if (side <= 2) return;
    RECT square{line.left + 2, line.top + (height - side) / 2, line.left + 2 + side, 0};
    square.bottom = square.top + side;
    DrawFrameControl(dc, &square, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (value != 0 ? DFCS_CHECKED : 0));
}

LRESULT DrawLine(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) return 0;
    HDC dc = item.hDC;
    // Every x is taken from the item's rectangle, whose left edge moves with the horizontal scroll bar, so a
    // line scrolled sideways draws its square, text and separator where they scroll to.
    RECT line = item.rcItem;
    const int height = line.bottom - line.top;

    if (item.itemAction == ODA_DRAWENTIRE || item.itemAction == ODA_SELECT) {
        if ((item.itemState & ODS_SELECTED) == 0) {
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            FillRect(dc, &line, GetSysColorBrush(COLOR_WINDOW));
        } else {
            SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            RECT selected = line;
            selected.left = line.left + height - 2;
            FillRect(dc, &selected, GetSysColorBrush(COLOR_HIGHLIGHT));
        }
        DrawSeparator(dc, line);

        const int index = static_cast<int>(item.itemID);
        std::wstring text = LineText(item.hwndItem, index);
        if (markTables != nullptr && IsMarkedLine(*markTables, NarrowLossy(text))) SetTextColor(dc, RandomColour());
        RECT textArea{line.left + height, line.top, line.right, line.bottom};
        // No "&" prefix processing: a file named a&b shows its name as it is, not with an underlined b.
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);

        LRESULT value = SendMessageW(item.hwndItem, LB_GETITEMDATA, item.itemID, 0);
        DrawCheckSquare(dc, line, height, value == LB_ERR ? 0 : value);
        return 1;
    }
    if (item.itemAction == ODA_FOCUS) {
        RECT focus = line;
        focus.left = line.left + height - 2;
        DrawFocusRect(dc, &focus);
        return 1;
    }
    return 0;
}

LRESULT ToggleSelectedLine(HWND list) {
    int selection = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
    LRESULT value = selection >= 0 ? SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(selection), 0) : LB_ERR;
    // No selection: no line to toggle (the list's "none" index would otherwise address every line).
    auto toggled = ToggledCheckValue(selection, static_cast<std::int32_t>(value));
    if (!toggled || value == LB_ERR) return 0;
    SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(selection), static_cast<LPARAM>(*toggled));
    RECT line;
    if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(selection), reinterpret_cast<LPARAM>(&line)) != LB_ERR) {
        InvalidateRect(list, &line, FALSE);
        UpdateWindow(list);
    }
    return 0;
}

}  // namespace

void InstallListProc(HWND list, const EntryTables& tables) {
    markTables = &tables;
    previousListProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ListProc)));
}

void RemoveListProc(HWND list) {
    if (previousListProc != nullptr && list != nullptr) {
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousListProc));
    }
    previousListProc = nullptr;
    markTables = nullptr;
}

void SeedLineColours(unsigned seed) { colourSource.seed(seed == 0 ? 1 : seed); }

LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may throw back into USER32.
    try {
        switch (message) {
            case WM_DRAWITEM:
                return DrawLine(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            case WM_KEYDOWN:
                if (wParam == VK_SPACE) return ToggleSelectedLine(list);
                break;
            case WM_MOUSEMOVE:
                // Dragging the selection with the left button alone; other moves are not the list's business.
                if (wParam != MK_LBUTTON) return 0;
                break;
            default:
                break;
        }
        return PassOn(list, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}
