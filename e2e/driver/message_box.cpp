// Message boxes shown by another process.
#include <algorithm>

#include "driver.h"

namespace e2e {

namespace {

// The message box's controls: its text and its icon; the buttons keep the ids of the answers.
constexpr int MessageTextId = 0xFFFF;
constexpr int MessageIconId = 0x0440;

bool IsMessageBox(HWND window) {
    if (ClassName(window) != "#32770") return false;
    HWND text = GetDlgItem(window, MessageTextId);
    if (text == nullptr || ClassName(text) != "Static") return false;
    for (HWND child : Children(window)) {
        std::string cls = ClassName(child);
        if (cls != "Static" && cls != "Button") return false;
    }
    return true;
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
    view.hasIcon = icon != nullptr && IsWindowVisible(icon);
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
