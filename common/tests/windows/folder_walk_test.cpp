// The folder search under the walks of the protector and the loader.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "folder_walk.h"
#include "temp_folder.h"
#include "win_text.h"

namespace {
std::vector<std::string> Names(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    ForEachEntry(folder, pattern, [&](const FolderEntry& e) { names.push_back(e.name + (e.IsFolder() ? "\\" : "")); });
    std::sort(names.begin(), names.end());
    return names;
}
}  // namespace

TEST(FolderWalk, ListsFilesAndFoldersWithWindows1252Names) {
    TempFolder folder;
    WriteWholeFile(folder / "clave.txt", "x");
    WriteWholeFile(folder / "contrase\xF1" "a.log", "x");
    CreateDirectoryW(Wide(folder / "sub").c_str(), nullptr);
    EXPECT_EQ(Names(folder.Path(), "*"),
              (std::vector<std::string>{"..\\", ".\\", "clave.txt", "contrase\xF1" "a.log", "sub\\"}));
}

TEST(FolderWalk, MissingFolderAndOverlongPatternDoNotStart) {
    TempFolder folder;
    int visits = 0;
    auto visit = [&](const FolderEntry&) { ++visits; };
    EXPECT_FALSE(ForEachEntry(folder / "falta\\", "*", visit));
    // Patterns live in buffers of 260 bytes: one of 259 characters is searched, one of 260 never (nor cut).
    const std::string longest(259 - folder.Path().size(), '*');
    EXPECT_FALSE(ForEachEntry(folder.Path(), longest + "*", visit));
    EXPECT_FALSE(ForEachEntry(folder.Path() + std::string(300, 'a') + "\\", "*", visit));
    EXPECT_EQ(visits, 0);
    EXPECT_TRUE(ForEachEntry(folder.Path(), longest, visit));
    EXPECT_EQ(visits, 2);  // "." and ".." of the empty folder
}

TEST(FolderWalk, OnlyRealSubfoldersAreEntered) {
    EXPECT_TRUE((FolderEntry{"sub", FILE_ATTRIBUTE_DIRECTORY}.IsSubfolderToEnter()));
    EXPECT_TRUE((FolderEntry{"oculta", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN}.IsSubfolderToEnter()));
    EXPECT_TRUE((FolderEntry{"sistema", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM}.IsSubfolderToEnter()));
    EXPECT_FALSE((FolderEntry{"$Recycle.Bin", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}
                       .IsSubfolderToEnter()));
    EXPECT_FALSE((FolderEntry{".", FILE_ATTRIBUTE_DIRECTORY}.IsSubfolderToEnter()));
    EXPECT_FALSE((FolderEntry{"..", FILE_ATTRIBUTE_DIRECTORY}.IsSubfolderToEnter()));
    constexpr DWORD reparseFolder = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    EXPECT_FALSE((FolderEntry{"enlace", reparseFolder}.IsSubfolderToEnter()));  // tag 0: Wine's Unix link
    EXPECT_FALSE((FolderEntry{"union", reparseFolder, true, IO_REPARSE_TAG_MOUNT_POINT}.IsSubfolderToEnter()));
    EXPECT_TRUE((FolderEntry{"OneDrive", reparseFolder, true, IO_REPARSE_TAG_CLOUD_3}.IsSubfolderToEnter()));
    EXPECT_FALSE((FolderEntry{"f.txt", FILE_ATTRIBUTE_ARCHIVE}.IsSubfolderToEnter()));
}

TEST(FolderWalk, FitsWalkWhileTheFoldersOwnPatternFitsThePathLimit) {
    EXPECT_TRUE(FitsWalk("C:\\"));
    const std::string longest = "C:\\" + std::string(252, 'a');  // 255 characters: "\\*.*" makes 259
    EXPECT_TRUE(FitsWalk(longest));
    EXPECT_TRUE(FitsWalk(longest + "\\"));
    EXPECT_FALSE(FitsWalk(longest + "a"));
}
