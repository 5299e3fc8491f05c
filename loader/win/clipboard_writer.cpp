#include "clipboard_writer.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "unique.h"
#include "win_text.h"

namespace {

// Another program may hold the clipboard for a moment (a clipboard viewer reading our last copy). Under
// Wine a second opener without a window is let in and takes the clipboard over, so our emptying then fails:
// that counts as held too, and the whole attempt starts again.
constexpr int Attempts = 25;
constexpr DWORD Pause = 10;

// Runs `fill` with the clipboard open and emptied, trying again while another program is in the way
// (`fill` gives false when the clipboard refused its first format, leaving nothing set).
template <typename Fill>
ClipboardResult WithEmptiedClipboard(Fill fill) {
    bool emptied = false;
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        if (attempt > 0) Sleep(Pause);
        OpenedClipboard clipboard;
        if (!clipboard || !EmptyClipboard()) continue;
        emptied = true;
        if (fill()) return ClipboardResult::Done;
    }
    return emptied ? ClipboardResult::Emptied : ClipboardResult::Unchanged;
}

// A movable zero-filled block holding `size` bytes copied from `bytes`, with `extra` zero bytes after them.
UniqueGlobal BlockWith(const void* bytes, std::size_t size, std::size_t extra) {
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size + extra));
    if (!block) return block;
    void* target = GlobalLock(block.get());
    if (target == nullptr) return UniqueGlobal();
    if (size > 0) std::memcpy(target, bytes, size);
    GlobalUnlock(block.get());
    return block;
}

void WipeBlock(const UniqueGlobal& block) {
    if (!block) return;
    void* bytes = GlobalLock(block.get());
    if (bytes == nullptr) return;
    WipeBytes(bytes, GlobalSize(block.get()));
    GlobalUnlock(block.get());
}

// Hands the block to the clipboard; a block it did not take is freed by its owner.
bool SetData(UINT format, UniqueGlobal& block) {
    if (format == 0 || SetClipboardData(format, block.get()) == nullptr) return false;
    block.release();
    return true;
}

}  // namespace

ClipboardResult PutTextOnClipboard(std::string_view text1252) {
    text1252 = text1252.substr(0, text1252.find('\0'));
    UniqueGlobal text = BlockWith(text1252.data(), text1252.size(), 2);
    SecretWide wide = SecretWiden(text1252);
    UniqueGlobal unicode = BlockWith(wide.data(), wide.size() * sizeof(wchar_t), sizeof(wchar_t));
    wide.clear();
    // A block the clipboard did not take is still ours: wiped before it is freed.
    struct WipeUntaken {
        UniqueGlobal& block;
        ~WipeUntaken() { WipeBlock(block); }
    } wipeText{text}, wipeUnicode{unicode};
    if (!text || !unicode) return ClipboardResult::Unchanged;

    // Windows keeps copies marked so out of its clipboard history and cloud clipboard, as a password wants.
    const DWORD no = 0;
    struct Marker {
        const wchar_t* name;
        UniqueGlobal block;
    } markers[] = {
        {L"ExcludeClipboardContentFromMonitorProcessing", BlockWith(&no, sizeof no, 0)},
        {L"CanIncludeInClipboardHistory", BlockWith(&no, sizeof no, 0)},
        {L"CanUploadToCloudClipboard", BlockWith(&no, sizeof no, 0)},
    };

    return WithEmptiedClipboard([&] {
        if (!SetData(CF_TEXT, text)) return false;
        SetData(CF_UNICODETEXT, unicode);
        for (Marker& marker : markers) {
            if (marker.block) SetData(RegisterClipboardFormatW(marker.name), marker.block);
        }
        return true;
    });
}

ClipboardResult EmptyTheClipboard() {
    return WithEmptiedClipboard([] { return true; });
}
