// Finding windows and reading or changing their state from outside their process.
#include "driver.h"
#include "remote_buffer.h"
#include "win_text.h"

namespace e2e {

namespace {

// How long a message to another process may take before the target counts as hung.
constexpr UINT SendTimeoutMs = 5000;

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* ok = nullptr) {
    DWORD_PTR result = 0;
    LRESULT sent = SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, SendTimeoutMs, &result);
    if (ok != nullptr) *ok = sent != 0;
    return static_cast<LRESULT>(result);
}

std::string Matchable(std::wstring_view text) { return NarrowLossy(text); }

}  // namespace

std::vector<HWND> TopWindows(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == s->pid && IsWindowVisible(window)) s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopWindow(DWORD pid, std::string_view caption, std::string_view className) {
    for (HWND window : TopWindows(pid)) {
        if (!className.empty() && ClassName(window) != className) continue;
        if (!caption.empty() && WindowText(window) != caption) continue;
        return window;
    }
    return nullptr;
}

HWND WaitForTopWindow(DWORD pid, std::string_view caption, std::string_view className, Milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindTopWindow(pid, caption, className)) != nullptr; }, timeout);
    return found;
}

bool WaitForWindowGone(HWND window, Milliseconds timeout) {
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeout);
}

HWND Control(HWND dialog, int id) { return GetDlgItem(dialog, id); }

std::vector<HWND> Children(HWND window) {
    std::vector<HWND> found;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string ClassName(HWND window) {
    wchar_t name[256] = {};
    int length = GetClassNameW(window, name, 256);
    return Matchable(std::wstring_view(name, length > 0 ? static_cast<std::size_t>(length) : 0));
}

std::string WindowText(HWND window) {
    bool ok = false;
    LRESULT length = SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0, &ok);
    if (!ok || length <= 0) return {};
    // WM_GETTEXTLENGTH may count more than WM_GETTEXT copies (never less), so the copy's count is kept.
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT copied = SendWithTimeout(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &ok);
    if (!ok || copied <= 0) return {};
    text.resize(static_cast<std::size_t>(copied));
    return Matchable(text);
}

bool SetWindowTextTo(HWND window, std::string_view text1252) {
    std::wstring text = Wide(text1252);
    bool ok = false;
    LRESULT result = SendWithTimeout(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &ok);
    return ok && result != FALSE;
}

bool IsEnabled(HWND window) { return IsWindowEnabled(window) != FALSE; }
bool IsVisible(HWND window) { return IsWindowVisible(window) != FALSE; }

int CheckState(HWND button) { return static_cast<int>(SendWithTimeout(button, BM_GETCHECK, 0, 0)); }
bool IsChecked(HWND button) { return CheckState(button) == BST_CHECKED; }

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT ClientRect(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

LONG_PTR Style(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }
LONG_PTR ExStyle(HWND window) { return GetWindowLongPtrW(window, GWL_EXSTYLE); }
int ControlId(HWND window) { return static_cast<int>(GetWindowLongPtrW(window, GWLP_ID)); }
HWND Owner(HWND window) { return GetWindow(window, GW_OWNER); }

bool Click(HWND button) {
    if (!IsWindow(button) || !IsWindowEnabled(button) || !IsWindowVisible(button)) return false;
    // A modal box disables the window beneath it: the mouse cannot reach its buttons then.
    HWND top = GetAncestor(button, GA_ROOT);
    if (top != nullptr && !IsWindowEnabled(top)) return false;
    // BM_CLICK is what a mouse click amounts to: the button takes the focus, an automatic check box or radio
    // button changes its state, and the parent gets BN_CLICKED. Posted, so a modal box opening from the
    // click does not hold the caller.
    return PostMessageW(button, BM_CLICK, 0, 0) != FALSE;
}

bool ClickControl(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    return button != nullptr && Click(button);
}

void Close(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

// ---------------------------------------------------------------------------------------------------------

int ListCount(HWND list) {
    bool ok = false;
    LRESULT count = SendWithTimeout(list, LB_GETCOUNT, 0, 0, &ok);
    return ok && count > 0 ? static_cast<int>(count) : 0;
}

std::vector<std::string> ListLines(HWND list) {
    std::vector<std::string> lines;
    int count = ListCount(list);
    for (int i = 0; i < count; ++i) {
        LRESULT length = SendWithTimeout(list, LB_GETTEXTLEN, i, 0);
        if (length < 0) length = 0;
        // user32 carries LB_GETTEXT across processes for lists with strings (see the driver tests).
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        LRESULT copied = SendWithTimeout(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
        lines.push_back(Matchable(text));
    }
    return lines;
}

int ListSelection(HWND list) {
    bool ok = false;
    LRESULT index = SendWithTimeout(list, LB_GETCURSEL, 0, 0, &ok);
    return ok ? static_cast<int>(index) : LB_ERR;
}

std::vector<int> ListSelections(HWND list) {
    bool ok = false;
    LRESULT count = SendWithTimeout(list, LB_GETSELCOUNT, 0, 0, &ok);
    if (!ok) return {};
    if (count == LB_ERR) {
        // A single-selection list.
        int index = ListSelection(list);
        return index >= 0 ? std::vector<int>{index} : std::vector<int>{};
    }
    if (count <= 0) return {};
    std::vector<int> indexes(static_cast<std::size_t>(count));
    LRESULT got = SendWithTimeout(list, LB_GETSELITEMS, indexes.size(), reinterpret_cast<LPARAM>(indexes.data()));
    indexes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return indexes;
}

std::optional<RECT> ListItemRect(HWND list, int index) {
    RECT rect{};
    bool ok = false;
    LRESULT result = SendWithTimeout(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect), &ok);
    if (!ok || result == LB_ERR) return std::nullopt;
    return rect;
}

bool DoubleClickListLine(HWND list, int index) {
    if (!IsWindowEnabled(list) || index < 0 || index >= ListCount(list)) return false;
    RECT client = ClientRect(list);
    auto rect = ListItemRect(list, index);
    if (rect && (rect->top < client.top || rect->bottom > client.bottom)) {
        // Scrolled out of sight: the user would scroll first.
        SendWithTimeout(list, LB_SETTOPINDEX, index, 0);
        rect = ListItemRect(list, index);
    }
    if (!rect) return false;
    LPARAM at = MAKELPARAM((rect->left + rect->right) / 2, (rect->top + rect->bottom) / 2);
    // The sequence the system makes of two quick clicks: down, up, double-click, up.
    return PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at) && PostMessageW(list, WM_LBUTTONUP, 0, at) &&
           PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at) && PostMessageW(list, WM_LBUTTONUP, 0, at);
}

}  // namespace e2e
