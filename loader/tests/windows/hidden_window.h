// Hidden windows for the loader's Windows tests, destroyed with the test.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "win_text.h"

class HiddenWindow {
public:
    explicit HiddenWindow(const wchar_t* windowClass = L"STATIC", DWORD style = WS_POPUP, int width = 100,
                          int height = 100)
        : window_(CreateWindowExW(0, windowClass, L"", style, 0, 0, width, height, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr)) {}
    ~HiddenWindow() { DestroyWindow(window_); }
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

// A list box that keeps its strings, 240 pixels wide, holding the lines given.
class HiddenList : public HiddenWindow {
public:
    explicit HiddenList(std::initializer_list<std::string> lines = {})
        : HiddenWindow(L"LISTBOX", WS_POPUP | LBS_HASSTRINGS, 240, 200) {
        for (const std::string& line : lines) {
            SendMessageW(get(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(line).c_str()));
        }
    }
    LRESULT Value(int line) const { return SendMessageW(get(), LB_GETITEMDATA, line, 0); }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        const int count = static_cast<int>(SendMessageW(get(), LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[512] = {};
            SendMessageW(get(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            lines.push_back(NarrowLossy(text));
        }
        return lines;
    }
};
