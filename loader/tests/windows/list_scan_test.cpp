// The load's folder walk over real temporary folders, adding to a real (hidden) list box.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "hidden_window.h"
#include "list_scan.h"
#include "temp_folder.h"
#include "win_text.h"

namespace {

// Each test scans a folder of its own into a list of its own, logged in with "k" unless it says otherwise.
class ListScan : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(list.get(), nullptr);
        state.loginPassword = "k";
    }
    TempFolder folder;
    HiddenList list;
    LoaderState state;
};

}  // namespace

// Which names and keys qualify is folder_scan_test's; here the real file system, readers and list box.
TEST_F(ListScan, ListsProtectedFilesWithTheKeyInAnyExtensionCase) {
    Protect(folder / "a.SCLAV", "clave", "uno");
    Protect(folder / "e.sclav", "Clave", "cinco");
    Protect(folder / "contrase\xF1" "a.sclav", "clave", "\xF1" "and\xFA");
    state.loginPassword = " clave";
    EXPECT_EQ(ScanFolder(state, folder.Path(), list.get()), ScanResult::Complete);
    // The file system gives the order: line n and slot n hold the same file.
    const std::vector<std::string> lines = list.Lines();
    ASSERT_EQ(lines.size(), 2u);
    std::vector<std::string> names;
    for (int slot = 1; slot <= 2; ++slot) {
        names.emplace_back(state.tables.Name(slot));
        EXPECT_EQ(lines[slot - 1], "00" + std::to_string(slot) + " - " + names.back());
        EXPECT_EQ(state.tables.Data(slot), names.back() == "a" ? "uno" : "\xF1" "and\xFA") << names.back();
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a", "contrase\xF1" "a"}));
}

TEST_F(ListScan, SubfoldersAfterTheFoldersOwnFilesOnlyWhenAsked) {
    folder.MakeFolders("sub\\hondo");
    Protect(folder / "sub\\s.sclav", "k", "ps");
    Protect(folder / "sub\\hondo\\h.sclav", "k", "ph");
    Protect(folder / "raiz.sclav", "k", "pr");
    ScanFolder(state, folder.Path(), list.get());
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"001 - raiz"}));
    state.includeSubfolders = true;
    ScanFolder(state, folder.Path(), list.get());
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"001 - raiz", "002 - raiz", "003 - s", "004 - h"}));
    EXPECT_EQ(state.tables.Data(4), "ph");
}

TEST_F(ListScan, UnreadableFilesListOnlyUnderABlankLogin) {
    WriteWholeFile(folder / "rota.sclav", std::string(100, 'x'));
    Protect(folder / "blanca.sclav", "   ", "pb");
    Protect(folder / "clave.sclav", "k", "pk");
    state.loginPassword = "";
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

TEST_F(ListScan, FolderBeyondThePathLimitIsSkippedNotCut) {
    Protect(folder / "x.sclav", "k", "p");
    // A path this long cannot be searched within the limit. Its pattern cut to the limit would find x.sclav,
    // which, read under the long path, has an empty key that the blank login lists.
    const std::string deep = folder.Path() + std::string(300, '*') + "\\";
    state.loginPassword = "";
    EXPECT_EQ(ScanFolder(state, deep, list.get()), ScanResult::Complete);
    EXPECT_TRUE(list.Lines().empty());
}
