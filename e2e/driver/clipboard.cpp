// The clipboard, opened for one call at a time and retried while another process holds it.
#include <cstring>

#include "driver.h"
#include "unique.h"
#include "win_text.h"

namespace e2e {

namespace {

constexpr Milliseconds ClipboardPatience{5000};

// Opens the clipboard for this thread, waiting while another one has it open.
class HeldClipboard {
public:
    HeldClipboard() { open_ = WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, ClipboardPatience); }
    ~HeldClipboard() {
        if (open_) CloseClipboard();
    }
    HeldClipboard(const HeldClipboard&) = delete;
    HeldClipboard& operator=(const HeldClipboard&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_ = false;
};

// The bytes of the global block up to the first zero of `unitSize` bytes (or its end).
std::optional<std::string> BlockBytes(HANDLE data, std::size_t unitSize) {
    if (data == nullptr) return std::nullopt;
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    if (bytes == nullptr) return std::nullopt;
    std::size_t size = GlobalSize(data);
    std::size_t length = 0;
    while (length + unitSize <= size) {
        bool zero = true;
        for (std::size_t i = 0; i < unitSize; ++i) zero = zero && bytes[length + i] == 0;
        if (zero) break;
        length += unitSize;
    }
    std::string copy(bytes, length);
    GlobalUnlock(data);
    return copy;
}

}  // namespace

std::optional<std::string> ClipboardText() {
    HeldClipboard clipboard;
    if (!clipboard || !IsClipboardFormatAvailable(CF_TEXT)) return std::nullopt;
    return BlockBytes(GetClipboardData(CF_TEXT), 1);
}

std::optional<std::string> ClipboardUnicodeText() {
    HeldClipboard clipboard;
    if (!clipboard || !IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::nullopt;
    auto bytes = BlockBytes(GetClipboardData(CF_UNICODETEXT), sizeof(wchar_t));
    if (!bytes) return std::nullopt;
    std::wstring text(bytes->size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes->data(), text.size() * sizeof(wchar_t));
    return NarrowLossy(text);
}

std::vector<UINT> ClipboardFormats() {
    std::vector<UINT> formats;
    HeldClipboard clipboard;
    if (!clipboard) return formats;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        formats.push_back(format);
    }
    return formats;
}

bool PutClipboardText(std::string_view text1252) {
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, text1252.size() + 1));
    if (!block) return false;
    char* bytes = static_cast<char*>(GlobalLock(block.get()));
    std::memcpy(bytes, text1252.data(), text1252.size());
    bytes[text1252.size()] = '\0';
    GlobalUnlock(block.get());
    HeldClipboard clipboard;
    if (!clipboard || !EmptyClipboard()) return false;
    if (SetClipboardData(CF_TEXT, block.get()) == nullptr) return false;
    block.release();  // the clipboard owns it now
    return true;
}

bool ClearClipboard() {
    HeldClipboard clipboard;
    return clipboard && EmptyClipboard();
}

}  // namespace e2e
