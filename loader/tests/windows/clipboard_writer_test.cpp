// The clipboard writer against the real (Wine) clipboard.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "clipboard_writer.h"
#include "unique.h"
#include "win_text.h"

namespace {

// The raw bytes of a clipboard format's block; nothing when the format is absent.
std::optional<std::string> BlockOf(UINT format) {
    OpenedClipboard clipboard;
    if (!clipboard) return std::nullopt;
    HANDLE data = GetClipboardData(format);
    if (data == nullptr) return std::nullopt;
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    if (bytes == nullptr) return std::nullopt;
    std::string copy(bytes, GlobalSize(data));
    GlobalUnlock(data);
    return copy;
}

std::optional<std::wstring> UnicodeText() {
    auto bytes = BlockOf(CF_UNICODETEXT);
    if (!bytes) return std::nullopt;
    std::wstring text(bytes->size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes->data(), text.size() * sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
}

bool PutOtherFormats(UINT custom) {
    OpenedClipboard clipboard;
    if (!clipboard || !EmptyClipboard()) return false;
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 8));
    if (SetClipboardData(custom, block.get()) == nullptr) return false;
    block.release();
    return true;
}

UINT Registered(const wchar_t* name) { return RegisterClipboardFormatW(name); }

}  // namespace

TEST(ClipboardWriter, TextBytesAreExactlyTheTextAndTwoZeros) {
    struct Case {
        std::string given, expected;
    } cases[] = {
        {"Secreto!9", "Secreto!9"},
        {"", ""},
        {"contrase\xF1" "a\x80", "contrase\xF1" "a\x80"},
        {std::string("antes\0despues", 13), "antes"},  // only what comes before a zero byte
    };
    for (const Case& c : cases) {
        ASSERT_EQ(PutTextOnClipboard(c.given), ClipboardResult::Done) << c.expected;
        auto block = BlockOf(CF_TEXT);
        ASSERT_TRUE(block.has_value()) << c.expected;
        ASSERT_GE(block->size(), c.expected.size() + 2) << c.expected;
        EXPECT_EQ(block->substr(0, c.expected.size()), c.expected);
        EXPECT_EQ(block->substr(c.expected.size(), 2), std::string(2, '\0')) << c.expected;
    }
}

TEST(ClipboardWriter, WideTextIsTheWindows1252TextConverted) {
    ASSERT_EQ(PutTextOnClipboard("Ni\xF1o \x80 caf\xE9"), ClipboardResult::Done);
    EXPECT_EQ(UnicodeText(), std::wstring(L"Ni\u00F1o \u20AC caf\u00E9"));
    ASSERT_EQ(PutTextOnClipboard(""), ClipboardResult::Done);
    EXPECT_EQ(UnicodeText(), std::wstring());
}

TEST(ClipboardWriter, OtherFormatsGoAndHistoryExclusionComes) {
    UINT custom = Registered(L"Portaclip prueba");
    ASSERT_TRUE(PutOtherFormats(custom));
    ASSERT_TRUE(IsClipboardFormatAvailable(custom));
    ASSERT_EQ(PutTextOnClipboard("x"), ClipboardResult::Done);
    EXPECT_FALSE(IsClipboardFormatAvailable(custom));
    EXPECT_TRUE(IsClipboardFormatAvailable(Registered(L"ExcludeClipboardContentFromMonitorProcessing")));
    for (const wchar_t* name : {L"CanIncludeInClipboardHistory", L"CanUploadToCloudClipboard"}) {
        auto block = BlockOf(Registered(name));
        ASSERT_TRUE(block.has_value());
        ASSERT_GE(block->size(), sizeof(DWORD));
        DWORD value = 1;
        std::memcpy(&value, block->data(), sizeof value);
        EXPECT_EQ(value, 0u);
    }
}

TEST(ClipboardWriter, HeldClipboardIsLeftAloneAndTheCallReturns) {
    ASSERT_EQ(PutTextOnClipboard("anterior"), ClipboardResult::Done);
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // Another thread's clipboard, opened for a window of its own, refuses this one as another program's would.
    std::thread holder([&] {
        HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        if (OpenClipboard(window)) {
            SetEvent(opened);
            WaitForSingleObject(release, 30000);
            CloseClipboard();
        }
        DestroyWindow(window);
        SetEvent(opened);
    });
    ASSERT_EQ(WaitForSingleObject(opened, 10000), WAIT_OBJECT_0);
    auto start = std::chrono::steady_clock::now();
    ClipboardResult put = PutTextOnClipboard("nuevo");
    ClipboardResult emptied = EmptyTheClipboard();
    auto waited = std::chrono::steady_clock::now() - start;
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
    EXPECT_EQ(put, ClipboardResult::Unchanged);
    EXPECT_EQ(emptied, ClipboardResult::Unchanged);
    EXPECT_LT(waited, std::chrono::seconds(5));
    auto block = BlockOf(CF_TEXT);
    ASSERT_TRUE(block.has_value());
    EXPECT_EQ(block->substr(0, 9), std::string("anterior\0", 9));
}

TEST(ClipboardWriter, EmptyingRemovesEveryFormat) {
    ASSERT_EQ(PutTextOnClipboard("algo"), ClipboardResult::Done);
    ASSERT_EQ(EmptyTheClipboard(), ClipboardResult::Done);
    EXPECT_EQ(CountClipboardFormats(), 0);
}
