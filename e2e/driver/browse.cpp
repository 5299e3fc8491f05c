// The shell's browse-for-folder dialog, driven through its tree from outside the process.
#include "driver.h"
#include "remote_buffer.h"
#include "win_text.h"

namespace e2e {

namespace {

constexpr UINT SendTimeoutMs = 5000;

LRESULT SendTree(HWND tree, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(tree, message, wParam, lParam, SMTO_ABORTIFHUNG, SendTimeoutMs, &result)) return 0;
    return static_cast<LRESULT>(result);
}

HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT relation) {
    return reinterpret_cast<HTREEITEM>(SendTree(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

std::string TreeItemText(HWND tree, HTREEITEM item) {
    constexpr std::size_t TextUnits = 520;
    RemoteBuffer buffer(tree, sizeof(TVITEMW) + TextUnits * sizeof(wchar_t));
    if (!buffer) return {};
    TVITEMW request{};
    request.mask = TVIF_TEXT | TVIF_HANDLE;
    request.hItem = item;
    request.pszText = static_cast<wchar_t*>(buffer.At(sizeof(TVITEMW)));
    request.cchTextMax = TextUnits;
    wchar_t zero = 0;
    if (!buffer.Write(0, &request, sizeof request) || !buffer.Write(sizeof(TVITEMW), &zero, sizeof zero)) return {};
    if (!SendTree(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer.Address()))) return {};
    // The control may answer with a pointer of its own instead of filling the buffer.
    TVITEMW answer{};
    if (!buffer.Read(0, &answer, sizeof answer) || answer.pszText == nullptr) return {};
    RemoteBuffer* source = &buffer;
    std::wstring text(TextUnits, L'\0');
    if (answer.pszText == request.pszText) {
        if (!source->Read(sizeof(TVITEMW), text.data(), TextUnits * sizeof(wchar_t))) return {};
    } else {
        DWORD pid = 0;
        GetWindowThreadProcessId(tree, &pid);
        UniqueFile process(OpenProcess(PROCESS_VM_READ, FALSE, pid));
        SIZE_T done = 0;
        if (!process || !ReadProcessMemory(process.get(), answer.pszText, text.data(), (TextUnits - 1) * sizeof(wchar_t), &done))
            return {};
    }
    text.resize(text.find(L'\0'));
    return NarrowLossy(text);
}

std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM parent) {
    std::vector<HTREEITEM> items;
    HTREEITEM item = parent == nullptr ? NextItem(tree, nullptr, TVGN_ROOT) : NextItem(tree, parent, TVGN_CHILD);
    for (; item != nullptr; item = NextItem(tree, item, TVGN_NEXT)) items.push_back(item);
    return items;
}

HTREEITEM TreeSelection(HWND tree) { return NextItem(tree, nullptr, TVGN_CARET); }

std::optional<BrowseDialog> WaitForBrowseDialog(DWORD pid, Milliseconds timeout) {
    BrowseDialog found;
    auto ready = [&] {
        for (HWND window : TopWindows(pid)) {
            if (ClassName(window) != "#32770") continue;
            for (HWND child : Children(window)) {
                if (ClassName(child) == "SysTreeView32") {
                    found.window = window;
                    found.tree = child;
                    return !TreeChildren(child, nullptr).empty();
                }
            }
        }
        return false;
    };
    if (!WaitUntil(ready, timeout)) return std::nullopt;
    found.ok = GetDlgItem(found.window, IDOK);
    found.cancel = GetDlgItem(found.window, IDCANCEL);
    return found;
}

std::string BrowsePrompt(const BrowseDialog& dialog) { return WindowText(dialog.prompt); }

std::vector<std::string> BrowseSelectionLabels(const BrowseDialog& dialog) {
    std::vector<std::string> labels;
    for (HTREEITEM item = TreeSelection(dialog.tree); item != nullptr; item = NextItem(dialog.tree, item, TVGN_PARENT))
        labels.insert(labels.begin(), TreeItemText(dialog.tree, item));
    return labels;
}

bool BrowseSelect(const BrowseDialog&, std::string_view, Milliseconds) { return false; }
bool BrowseChoose(const BrowseDialog&, std::string_view, Milliseconds) { return false; }
bool BrowseCancel(const BrowseDialog&, Milliseconds) { return false; }

}  // namespace e2e
