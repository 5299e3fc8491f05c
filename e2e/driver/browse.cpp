// The shell's browse-for-folder dialog, driven through its tree from outside the process.
#include <algorithm>

#include "driver.h"
#include "remote_buffer.h"
#include "text1252.h"
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
    // The request and the text buffer both live in the tree's process: common-control messages carry raw
    // pointers that user32 does not copy across processes.
    constexpr std::size_t TextUnits = 520;
    constexpr std::size_t TextOffset = sizeof(TVITEMW);
    RemoteBuffer buffer(tree, TextOffset + TextUnits * sizeof(wchar_t));
    if (!buffer) return {};
    TVITEMW request{};
    request.mask = TVIF_TEXT | TVIF_HANDLE;
    request.hItem = item;
    request.pszText = static_cast<wchar_t*>(buffer.At(TextOffset));
    request.cchTextMax = TextUnits;
    wchar_t zero = 0;
    if (!buffer.Write(0, &request, sizeof request) || !buffer.Write(TextOffset, &zero, sizeof zero)) return {};
    if (!SendTree(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer.Address()))) return {};
    std::wstring text(TextUnits, L'\0');
    if (!buffer.Read(TextOffset, text.data(), TextUnits * sizeof(wchar_t))) return {};
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

namespace {

// The static control showing the caller's lpszTitle (Wine's IDD_TITLE); the first visible static otherwise.
constexpr int PromptId = 14146;

HWND FindPrompt(HWND dialog) {
    if (HWND prompt = GetDlgItem(dialog, PromptId)) return prompt;
    for (HWND child : Children(dialog)) {
        if (ClassName(child) == "Static" && IsWindowVisible(child)) return child;
    }
    return nullptr;
}

UINT ItemState(HWND tree, HTREEITEM item, UINT mask) {
    return static_cast<UINT>(SendTree(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask));
}

// Expands the item as a click on its button would; the dialog fills in the children while handling the
// expansion. False when the item has no children to show.
bool Expand(HWND tree, HTREEITEM item, Milliseconds timeout) {
    if (ItemState(tree, item, TVIS_EXPANDED) != 0) return true;
    if (!SendTree(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item))) return false;
    return WaitUntil([&] { return ItemState(tree, item, TVIS_EXPANDED) != 0; }, timeout);
}

void Collapse(HWND tree, HTREEITEM item) { SendTree(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item)); }

// The child with exactly this label; failing that, the one whose label differs only in letter case (as
// names of folders do).
HTREEITEM ChildLabelled(HWND tree, HTREEITEM parent, std::string_view label) {
    HTREEITEM caseless = nullptr;
    for (HTREEITEM child : TreeChildren(tree, parent)) {
        std::string text = TreeItemText(tree, child);
        if (text == label) return child;
        if (caseless == nullptr && cp1252::Lower(text) == cp1252::Lower(label)) caseless = child;
    }
    return caseless;
}

// A drive shows as "<volume label> (T:)"; with no volume label just " (T:)".
HTREEITEM DriveItem(HWND tree, HTREEITEM computer, std::string_view drive) {
    std::string suffix(1, '(');
    suffix += cp1252::Upper(drive);
    suffix += ')';
    for (HTREEITEM child : TreeChildren(tree, computer)) {
        std::string text = cp1252::Upper(TreeItemText(tree, child));
        if (text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0)
            return child;
    }
    return nullptr;
}

// The drive's item under the computer's item. The root item is the desktop; the computer is the desktop's
// child that lists the drives ("My Computer" in an English Wine, tried first), found by its content so that
// the label's language does not matter.
HTREEITEM FindDrive(HWND tree, std::string_view drive, Milliseconds timeout) {
    std::vector<HTREEITEM> roots = TreeChildren(tree, nullptr);
    if (roots.empty() || !Expand(tree, roots.front(), timeout)) return nullptr;
    std::vector<HTREEITEM> candidates = TreeChildren(tree, roots.front());
    std::stable_partition(candidates.begin(), candidates.end(),
                          [&](HTREEITEM item) { return TreeItemText(tree, item) == "My Computer"; });
    for (HTREEITEM candidate : candidates) {
        bool wasExpanded = ItemState(tree, candidate, TVIS_EXPANDED) != 0;
        if (!Expand(tree, candidate, timeout)) continue;
        if (HTREEITEM found = DriveItem(tree, candidate, drive)) return found;
        if (!wasExpanded) Collapse(tree, candidate);
    }
    return nullptr;
}

// "T:\sub\deeper" as "T:" and {"sub", "deeper"}.
bool SplitFolder(std::string_view folder, std::string& drive, std::vector<std::string>& parts) {
    if (folder.size() < 2 || folder[1] != ':') return false;
    drive = std::string(folder.substr(0, 2));
    std::string_view rest = folder.substr(2);
    while (!rest.empty()) {
        std::size_t cut = rest.find('\\');
        std::string_view part = rest.substr(0, cut);
        if (!part.empty()) parts.emplace_back(part);
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
    return true;
}

}  // namespace

std::optional<BrowseDialog> WaitForBrowseDialog(DWORD pid, Milliseconds timeout) {
    BrowseDialog found;
    auto ready = [&] {
        for (HWND window : TopWindows(pid)) {
            if (ClassName(window) != "#32770") continue;
            for (HWND child : Children(window)) {
                if (ClassName(child) != "SysTreeView32") continue;
                found.window = window;
                found.tree = child;
                // Shown once the desktop's item and its children are in the tree.
                std::vector<HTREEITEM> roots = TreeChildren(child, nullptr);
                return !roots.empty() && !TreeChildren(child, roots.front()).empty();
            }
        }
        return false;
    };
    if (!WaitUntil(ready, timeout)) return std::nullopt;
    found.prompt = FindPrompt(found.window);
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

bool BrowseSelect(const BrowseDialog& dialog, std::string_view folder, Milliseconds timeout) {
    std::string drive;
    std::vector<std::string> parts;
    if (!SplitFolder(folder, drive, parts)) return false;
    HTREEITEM item = FindDrive(dialog.tree, drive, timeout);
    for (const std::string& part : parts) {
        if (item == nullptr || !Expand(dialog.tree, item, timeout)) return false;
        item = ChildLabelled(dialog.tree, item, part);
    }
    if (item == nullptr) return false;
    // As after a click on the item: the tree has the focus, so the selection shows.
    BringToFront(dialog.tree, Milliseconds(1000));
    SendTree(dialog.tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    SendTree(dialog.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    return WaitUntil([&] { return TreeSelection(dialog.tree) == item; }, timeout);
}

bool BrowseChoose(const BrowseDialog& dialog, std::string_view folder, Milliseconds timeout) {
    return BrowseSelect(dialog, folder, timeout) && Click(dialog.ok) && WaitForWindowGone(dialog.window, timeout);
}

bool BrowseCancel(const BrowseDialog& dialog, Milliseconds timeout) {
    return Click(dialog.cancel) && WaitForWindowGone(dialog.window, timeout);
}

}  // namespace e2e
