#include "platform.h"

#include <cstring>
#include <vector>

#include "sleep_period.h"
#include "win_text.h"

namespace {
HWND pumpDialog = nullptr;
}

void SetPumpDialog(HWND dialog) { pumpDialog = dialog; }

void PumpOneMessage() {
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        MillisecondPause::Shared().Pause();
        return;
    }
    if (msg.message == WM_QUIT) {
        // Leave the quit request for the modal loop that owns it.
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
    }
    if (pumpDialog != nullptr && IsWindow(pumpDialog) && IsDialogMessageW(pumpDialog, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

bool PathExists(std::string_view path1252) {
    return GetFileAttributesW(WidePath(path1252).c_str()) != INVALID_FILE_ATTRIBUTES;
}

int ShowMessage(std::string_view text1252, std::string_view title1252, UINT style) {
    return MessageBoxW(nullptr, Wide(text1252).c_str(), Wide(title1252).c_str(), style);
}

int ScreenDpiY() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        int value = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

UniqueFont MakeFont(const FontSpec& wanted) {
    LOGFONTW font{};
    font.lfHeight = wanted.roundedHeight ? -MulDiv(wanted.points, ScreenDpiY(), 72) : -(wanted.points * ScreenDpiY()) / 72;
    font.lfWeight = wanted.weight;
    font.lfItalic = wanted.italic;
    font.lfUnderline = wanted.underline;
    font.lfStrikeOut = wanted.strikeOut;
    font.lfCharSet = ANSI_CHARSET;
    font.lfOutPrecision = wanted.outputPrecision;
    std::wstring face = Wide(wanted.face);
    wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return UniqueFont(CreateFontIndirectW(&font));
}

void AssignFont(HWND dialog, int id, HFONT font, bool redraw) {
    SendDlgItemMessageW(dialog, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw ? TRUE : FALSE);
}

INT_PTR RunModalDialog(const DialogTemplate& dialog, HWND owner, DLGPROC proc, LPARAM param) {
    std::vector<unsigned char> bytes = dialog.Build();
    std::vector<DWORD> aligned((bytes.size() + 3) / 4);
    std::memcpy(aligned.data(), bytes.data(), bytes.size());
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(aligned.data()),
                                   owner, proc, param);
}

void SetWindowIcons(HWND window, int resourceId) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto load = [&](int size) {
        return LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED);
    };
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(load(32)));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(load(16)));
}
