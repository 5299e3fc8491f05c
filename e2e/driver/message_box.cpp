// Message boxes shown by another process.
#include <algorithm>

#include "driver.h"

namespace e2e {

namespace {

// The message box's controls: its text and its icon (Windows numbers the icon 0x14); its buttons carry the
// ids of the answers, IDOK (1) to IDCONTINUE (11).
constexpr int MessageTextId = 0xFFFF;
constexpr int MessageIconId = 0x0440;
constexpr int WindowsIconId = 0x0014;

// Dialogs of the programs are #32770 too, and their labels often have the id 0xFFFF (-1): a message box is
// told apart by having nothing but its text, its icon and answer buttons.
bool IsMessageBox(HWND window) {
    if (ClassName(window) != "#32770") return false;
    int texts = 0;
    for (HWND child : Children(window)) {
        std::string cls = ClassName(child);
        int id = ControlId(child);
        bool text = cls == "Static" && id == MessageTextId;
        bool icon = cls == "Static" && (id == MessageIconId || id == WindowsIconId);
        bool answer = cls == "Button" && id >= IDOK && id <= IDCONTINUE;
        if (!text && !icon && !answer) return false;
        texts += text ? 1 : 0;
    }
    return texts == 1;
}

}  // namespace

std::optional<MessageBoxView> ReadMessageBox(HWND box) {
    if (!IsWindow(box) || !IsMessageBox(box)) return std::nullopt;
    MessageBoxView view;
    view.window = box;
    view.owner = Owner(box);
    view.title = WindowText(box);
    view.text = WindowText(GetDlgItem(box, MessageTextId));
    HWND icon = GetDlgItem(box, MessageIconId);
    if (icon == nullptr) icon = GetDlgItem(box, WindowsIconId);
    // Wine keeps the icon control in every box; a box without icon leaves it empty.
    DWORD_PTR image = 0;
    view.hasIcon = icon != nullptr && IsWindowVisible(icon) &&
                   SendMessageTimeoutW(icon, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000, &image) && image != 0;
    for (HWND child : Children(box)) {
        if (ClassName(child) != "Button" || !IsWindowVisible(child)) continue;
        view.buttons.push_back({ControlId(child), WindowText(child), child});
    }
    std::sort(view.buttons.begin(), view.buttons.end(), [](const MessageBoxButton& a, const MessageBoxButton& b) {
        return WindowRect(a.window).left < WindowRect(b.window).left;
    });
    return view;
}

std::optional<MessageBoxView> FindMessageBox(DWORD pid) {
    for (HWND window : TopWindows(pid)) {
        if (IsMessageBox(window)) return ReadMessageBox(window);
    }
    return std::nullopt;
}

std::optional<MessageBoxView> WaitForMessageBox(DWORD pid, Milliseconds timeout) {
    std::optional<MessageBoxView> found;
    WaitUntil([&] { return (found = FindMessageBox(pid)).has_value(); }, timeout);
    return found;
}

bool AnswerMessageBox(const MessageBoxView& box, int buttonId, Milliseconds timeout) {
    HWND button = GetDlgItem(box.window, buttonId);
    if (button == nullptr || !Click(button)) return false;
    return WaitUntil([&] { return !IsWindow(box.window); }, timeout);
}

}  // namespace e2e
