// Windows-1252 at the edge of wide controls and the small platform helpers.
#include <gtest/gtest.h>

#include "platform.h"
#include "temp_folder.h"
#include "win_text.h"

TEST(WinText, ControlTextRoundTripsEveryCodePageCharacter) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetParent(edit, parent);
    SetWindowLongPtrW(edit, GWLP_ID, 77);
    std::string all;
    for (int b = 32; b < 256; ++b) all.push_back(static_cast<char>(b));
    SetControlText(parent, 77, all);
    EXPECT_EQ(ControlText(parent, 77), all);
    wchar_t raw[8] = {};
    SetControlText(parent, 77, "\x80\xAE\xF1");
    GetWindowTextW(edit, raw, 8);
    EXPECT_EQ(std::wstring(raw), L"\u20AC\u00AE\u00F1");
    DestroyWindow(parent);
}

TEST(WinText, PathExistsForFilesAndFoldersOnly) {
    TempFolder folder;
    EXPECT_TRUE(PathExists(folder.Path()));
    EXPECT_FALSE(PathExists(folder / "ning\xFAn.txt"));
    WriteWholeFile(folder / "ning\xFAn.txt", "x");
    EXPECT_TRUE(PathExists(folder / "ning\xFAn.txt"));
}

TEST(WinText, ProgramFilePathRespectsItsLimit) {
    auto path = ProgramFilePath(260);
    ASSERT_TRUE(path.has_value());
    EXPECT_NE(path->find("common_win_tests"), std::string::npos);
    EXPECT_EQ(ProgramFilePath(3), std::nullopt);
}
