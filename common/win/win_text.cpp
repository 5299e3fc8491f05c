#include "win_text.h"

#include <vector>

#include "file_names.h"
#include "text1252.h"

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16 units");

std::wstring Wide(std::string_view text1252) {
    std::u16string wide = cp1252::Widen(text1252);
    return std::wstring(wide.begin(), wide.end());
}

std::wstring WidePath(std::string_view path1252) { return Wide(OpenablePath(path1252)); }

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

namespace {

// The control's text in a wiped buffer; `convert` turns it into Windows-1252 while the buffer lives.
template <typename Convert>
void WithSecretControlText(HWND dialog, int id, Convert convert) {
    HWND control = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthW(control);
    SecretWide wide;
    if (length > 0) {
        wide.resize(static_cast<std::size_t>(length) + 1, L'\0');
        int copied = GetWindowTextW(control, wide.data(), length + 1);
        wide.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0, L'\0');
    }
    convert(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

}  // namespace

SecretText SecretControlTextLossy(HWND dialog, int id) {
    SecretText text;
    WithSecretControlText(dialog, id, [&](std::u16string_view wide) { cp1252::AppendNarrowLossy(wide, text); });
    return text;
}

std::optional<SecretText> SecretControlTextExact(HWND dialog, int id) {
    SecretText text;
    bool exact = false;
    WithSecretControlText(dialog, id, [&](std::u16string_view wide) { exact = cp1252::AppendNarrowExact(wide, text); });
    if (!exact) return std::nullopt;
    return text;
}

SecretWide SecretWiden(std::string_view text1252) {
    SecretWide wide;
    wide.reserve(text1252.size());
    cp1252::AppendWidened<wchar_t>(text1252, wide);
    return wide;
}

void WipeEditField(HWND dialog, int id) {
    HWND field = GetDlgItem(dialog, id);
    const int length = GetWindowTextLengthW(field);
    // One character at a time, replaced by a blank: the control copies only the one character it removes.
    for (int i = 0; i < length; ++i) {
        SendMessageW(field, EM_SETSEL, static_cast<WPARAM>(i), static_cast<LPARAM>(i + 1));
        SendMessageW(field, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L" "));
    }
    SetWindowTextW(field, L"");
}

std::optional<std::string> ProgramFilePath(std::size_t limit) {
    std::vector<wchar_t> buffer(32768);
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size() || length > limit) return std::nullopt;
    return NarrowExact(std::wstring_view(buffer.data(), length));
}
