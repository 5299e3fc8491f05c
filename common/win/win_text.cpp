#include "win_text.h"

#include <vector>

#include "text1252.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

std::wstring Wide(std::string_view text1252) {
    std::u16string wide = cp1252::Widen(text1252);
    return std::wstring(wide.begin(), wide.end());
}

std::optional<std::string> NarrowExact(std::wstring_view text) {
    return cp1252::NarrowExact(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

std::string NarrowLossy(std::wstring_view text) {
    return cp1252::NarrowLossy(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

std::wstring ControlTextWide(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthW(control);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

std::string ControlText(HWND dialog, int id) { return NarrowLossy(ControlTextWide(dialog, id)); }

void SetControlText(HWND dialog, int id, std::string_view text1252) {
    SetDlgItemTextW(dialog, id, Wide(text1252).c_str());
}

std::optional<std::string> ProgramFilePath(std::size_t limit) {
    std::vector<wchar_t> buffer(32768);
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size() || length > limit) return std::nullopt;
    return NarrowExact(std::wstring_view(buffer.data(), length));
}
