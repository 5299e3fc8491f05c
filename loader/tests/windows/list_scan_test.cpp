// The load's folder walk over real temporary folders, adding to a real (hidden) list box.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "list_scan.h"
#include "protected_file.h"
#include "temp_folder.h"
#include "text1252.h"
#include "win_text.h"

namespace {

// A .sclav file as the protector writes it; a blank key gives a file whose key reads empty.
void Protect(const std::string& path, std::string_view keyText, std::string_view passwordText) {
    SecretText key(keyText), password(passwordText);
    if (cp1252::TrimmedView(key).empty()) ClearGroup(WriterRecord(), ChunkGroup::Key);
    ASSERT_TRUE(WriteProtectedFile(path, key, password)) << path;
}

class HiddenList {
public:
    HiddenList()
        : window_(CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | LBS_HASSTRINGS, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr)) {}
    ~HiddenList() { DestroyWindow(window_); }
    HWND get() const { return window_; }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        int count = static_cast<int>(SendMessageW(window_, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[512] = {};
            SendMessageW(window_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            lines.push_back(NarrowLossy(text));
        }
        return lines;
    }

private:
    HWND window_;
};

void MakeFolder(const std::string& path) { CreateDirectoryW(Wide(path).c_str(), nullptr); }

}  // namespace

TEST(ListScan, ListsProtectedFilesWithTheKeyInAnyExtensionCase) {
    TempFolder folder;
    Protect(folder / "a.SCLAV", "clave", "uno");
    Protect(folder / "b.sclav", "clave ", "dos");
    Protect(folder / "c.sclav.txt", "clave", "tres");
    Protect(folder / "d", "clave", "cuatro");
    Protect(folder / "e.sclav", "Clave", "cinco");
    Protect(folder / "contrase\xF1" "a.sclav", "clave", "\xF1" "and\xFA");
    HiddenList list;
    ASSERT_NE(list.get(), nullptr);
    LoaderState state;
    state.loginPassword = " clave";
    EXPECT_EQ(ScanFolder(state, folder.Path(), list.get()), ScanResult::Complete);
    // The file system gives the order; compare as a set, then check slot n against line n.
    std::vector<std::string> lines = list.Lines();
    ASSERT_EQ(lines.size(), 3u);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].substr(0, 6), "00" + std::to_string(i + 1) + " - ");
        names.push_back(lines[i].substr(6));
        EXPECT_EQ(state.tables.Name(static_cast<int>(i) + 1), names.back());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "contrase\xF1" "a"}));
    for (int slot = 1; slot <= 3; ++slot) {
        std::string_view name = state.tables.Name(slot);
        std::string_view expected = name == "a" ? "uno" : name == "b" ? "dos" : "\xF1" "and\xFA";
        EXPECT_EQ(state.tables.Data(slot), expected) << name;
    }
}

TEST(ListScan, SubfoldersAfterTheFoldersOwnFilesOnlyWhenAsked) {
    TempFolder folder;
    MakeFolder(folder / "sub");
    MakeFolder(folder / "sub\\hondo");
    Protect(folder / "sub\\s.sclav", "k", "ps");
    Protect(folder / "sub\\hondo\\h.sclav", "k", "ph");
    Protect(folder / "raiz.sclav", "k", "pr");
    HiddenList list;
    LoaderState state;
    state.loginPassword = "k";
    ScanFolder(state, folder.Path(), list.get());
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"001 - raiz"}));
    state.includeSubfolders = true;
    ScanFolder(state, folder.Path(), list.get());
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"001 - raiz", "002 - raiz", "003 - s", "004 - h"}));
    EXPECT_EQ(state.tables.Data(4), "ph");
}

TEST(ListScan, UnreadableFilesListOnlyUnderABlankLogin) {
    TempFolder folder;
    WriteWholeFile(folder / "rota.sclav", std::string(100, 'x'));
    Protect(folder / "blanca.sclav", "   ", "pb");
    Protect(folder / "clave.sclav", "k", "pk");
    HiddenList list;
    LoaderState state;
    ScanFolder(state, folder.Path(), list.get());
    std::vector<std::string> names;
    for (int slot = 1; slot <= state.tables.Count(); ++slot) names.emplace_back(state.tables.Name(slot));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"blanca", "rota"}));

    HiddenList other;
    LoaderState keyed;
    keyed.loginPassword = "k";
    ScanFolder(keyed, folder.Path(), other.get());
    EXPECT_EQ(other.Lines(), (std::vector<std::string>{"001 - clave"}));
}

TEST(ListScan, FolderBeyondThePathLimitIsSkippedNotCut) {
    TempFolder folder;
    Protect(folder / "x.sclav", "k", "p");
    // A path this long cannot be searched within the limit; cutting it would search another folder.
    std::string deep = folder.Path() + std::string(300, 'a') + "\\";
    HiddenList list;
    LoaderState state;
    state.loginPassword = "k";
    EXPECT_EQ(ScanFolder(state, deep, list.get()), ScanResult::Complete);
    EXPECT_TRUE(list.Lines().empty());
}
