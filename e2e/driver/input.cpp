// Keyboard and mouse input through SendInput, and bringing a window to the front for it.
#include <vector>

#include "driver.h"
#include "win_text.h"

namespace e2e {

namespace {

bool IsExtendedKey(WORD key) {
    switch (key) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_RMENU: case VK_RCONTROL: case VK_DIVIDE:
        return true;
    default:
        return false;
    }
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(key) ? KEYEVENTF_EXTENDEDKEY : 0);
    return input;
}

bool Send(std::vector<INPUT>& inputs) {
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

}  // namespace

bool BringToFront(HWND window, Milliseconds timeout) {
    HWND top = GetAncestor(window, GA_ROOT);
    if (top == nullptr) return false;
    DWORD thread = GetWindowThreadProcessId(top, nullptr);
    // The window's thread as it sees its own input state: SetForegroundWindow changes the foreground at
    // once, but the thread activates the window (and sets its focus) only when it handles the message about
    // it. Keys sent before that go to whatever had the focus.
    auto state = [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(thread, &info)) info = GUITHREADINFO{};
        return info;
    };
    if (IsIconic(top)) ShowWindowAsync(top, SW_RESTORE);
    bool front = WaitUntil(
        [&] {
            if (GetForegroundWindow() != top) SetForegroundWindow(top);
            return GetForegroundWindow() == top && state().hwndActive == top;
        },
        timeout);
    if (!front) return false;
    return WaitUntil(
        [&] {
            if (state().hwndFocus == window) return true;
            // The focus belongs to the window's thread: set it from there, attached to its input state.
            DWORD self = GetCurrentThreadId();
            if (AttachThreadInput(self, thread, TRUE)) {
                SetFocus(window);
                AttachThreadInput(self, thread, FALSE);
            }
            return state().hwndFocus == window;
        },
        timeout);
}

bool PressChord(std::initializer_list<WORD> virtualKeys) {
    std::vector<INPUT> inputs;
    for (WORD key : virtualKeys) inputs.push_back(KeyInput(key, false));
    for (auto it = std::rbegin(virtualKeys); it != std::rend(virtualKeys); ++it) inputs.push_back(KeyInput(*it, true));
    return Send(inputs);
}

bool PressKey(WORD virtualKey) { return PressChord({virtualKey}); }

bool KeyDown(WORD virtualKey) {
    std::vector<INPUT> inputs{KeyInput(virtualKey, false)};
    return Send(inputs);
}

bool KeyUp(WORD virtualKey) {
    std::vector<INPUT> inputs{KeyInput(virtualKey, true)};
    return Send(inputs);
}

bool TypeText(std::string_view text1252) {
    std::vector<INPUT> inputs;
    for (wchar_t unit : Wide(text1252)) {
        for (bool up : {false, true}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = unit;
            input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
            inputs.push_back(input);
        }
    }
    return inputs.empty() || Send(inputs);
}

namespace {
// Absolute mouse coordinates run from 0 to 65535 over the primary screen.
INPUT MouseAt(POINT screen, DWORD flags) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, width > 1 ? width - 1 : 1);
    input.mi.dy = MulDiv(screen.y, 65535, height > 1 ? height - 1 : 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

// Moves the pointer and waits until it is there: a button goes where the cursor is, not where it was going.
bool MoveTo(POINT screen) {
    std::vector<INPUT> move{MouseAt(screen, 0)};
    if (GetSystemMetrics(SM_CXSCREEN) <= 1 || !Send(move)) return false;
    return WaitUntil(
        [&] {
            POINT cursor{};
            return GetCursorPos(&cursor) && cursor.x == screen.x && cursor.y == screen.y;
        },
        Milliseconds(2000));
}
}  // namespace

bool ClickAt(POINT screen) {
    if (!MoveTo(screen)) return false;
    std::vector<INPUT> click{MouseAt(screen, MOUSEEVENTF_LEFTDOWN), MouseAt(screen, MOUSEEVENTF_LEFTUP)};
    return Send(click);
}

bool ParkPointer() {
    const RECT screen = ScreenRect();
    return MoveTo(POINT{screen.right - 1, screen.bottom - 1});
}

bool SettleInput(HWND window) {
    for (int trip = 0; trip < 3; ++trip) {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result)) return false;
    }
    return true;
}

}  // namespace e2e
