#include "message_on_top.h"

#include "platform.h"

namespace {

// A message box is a dialog holding the static control with id 0xFFFF that shows its text; the loader's other
// dialogs have none.
bool IsMessageBox(HWND window) {
    wchar_t className[16] = {};
    return GetClassNameW(window, className, 16) > 0 && lstrcmpW(className, L"#32770") == 0 &&
           GetDlgItem(window, 0xFFFF) != nullptr;
}

LRESULT CALLBACK RaiseBoxAsItActivates(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (IsMessageBox(window))
            SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The hook lives for one box; a box shown inside another one's loop adds its own, which does the same.
class BoxRaiser {
public:
    BoxRaiser() : hook_(SetWindowsHookExW(WH_CBT, RaiseBoxAsItActivates, nullptr, GetCurrentThreadId())) {}
    ~BoxRaiser() {
        if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
    }
    BoxRaiser(const BoxRaiser&) = delete;
    BoxRaiser& operator=(const BoxRaiser&) = delete;

private:
    HHOOK hook_;
};

}  // namespace

int ShowMessageOnTop(std::string_view text1252, std::string_view title1252, UINT style) {
    BoxRaiser raiser;
    return ShowMessage(text1252, title1252, style);
}
