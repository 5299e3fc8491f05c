// The password file and the word list through the real file calls.
#include <gtest/gtest.h>

#include "password_file.h"
#include "temp_folder.h"
#include "unique.h"
#include "win_text.h"

namespace {

UniqueFile HoldOpen(const std::string& path) {
    return UniqueFile(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

TEST(PasswordFile, AppendPasswordLine_LinesEndWithCrCrLf) {
    TempFolder folder;
    const std::string path = folder / "a.txt";
    ASSERT_EQ(AppendPasswordLine(path, "ab"), LineWrite::Written);
    ASSERT_EQ(AppendPasswordLine(path, "3#"), LineWrite::Written);
    EXPECT_EQ(ReadWholeFile(path), std::string("\x61\x62\x0D\x0D\x0A\x33\x23\x0D\x0D\x0A", 10));
}

TEST(PasswordFile, AppendPasswordLine_NeverTruncatesWhatIsThere) {
    TempFolder folder;
    const std::string path = folder / "banco.txt";
    WriteWholeFile(path, "anterior\r\n");
    ASSERT_EQ(AppendPasswordLine(path, "xyz"), LineWrite::Written);
    ASSERT_EQ(AppendPasswordLine(path, "uvw"), LineWrite::Written);
    EXPECT_EQ(ReadWholeFile(path), "anterior\r\nxyz\r\r\nuvw\r\r\n");
}

TEST(PasswordFile, AppendPasswordLine_SignsAreSingleBytes) {
    TempFolder folder;
    const std::string path = folder / "signos.log";
    ASSERT_EQ(AppendPasswordLine(path, "\xBF\xA1" "CAMI\xD3N"), LineWrite::Written);
    EXPECT_EQ(ReadWholeFile(path), "\xBF\xA1" "CAMI\xD3N\r\r\n");
}

TEST(PasswordFile, AppendPasswordLine_FailsWithoutWriting) {
    TempFolder folder;
    // A folder in the name that does not exist.
    EXPECT_EQ(AppendPasswordLine(folder / "x\\y.txt", "abc"), LineWrite::Failed);
    EXPECT_FALSE(FileExists(folder / "x"));
    // A character the file system refuses.
    EXPECT_EQ(AppendPasswordLine(folder / "a?b.txt", "abc"), LineWrite::Failed);
    // A device name that got past the checks opens the device: refused, nothing written into it.
    EXPECT_EQ(AppendPasswordLine(folder / "nul.txt", "abc"), LineWrite::NotADiskFile);

    // A file another program holds open: the generator opens without sharing, so it is not written.
    const std::string held = folder / "abierto.txt";
    WriteWholeFile(held, "uno\r\r\n");
    {
        UniqueFile other = HoldOpen(held);
        ASSERT_TRUE(other);
        EXPECT_EQ(AppendPasswordLine(held, "dos"), LineWrite::Failed);
    }
    EXPECT_EQ(ReadWholeFile(held), "uno\r\r\n");
    EXPECT_EQ(AppendPasswordLine(held, "dos"), LineWrite::Written);
}

TEST(PasswordFile, ReadWholeWordList_GivesEveryByte) {
    TempFolder folder;
    const std::string path = folder / "le.txt";
    const std::string bytes = std::string("\xC1rbol\r\ncami\xF3n\r\x1A\n\0fin", 20);
    WriteWholeFile(path, bytes);
    EXPECT_EQ(ReadWholeWordList(path), bytes);
    WriteWholeFile(path, "");
    EXPECT_EQ(ReadWholeWordList(path), "");
}

TEST(PasswordFile, ReadWholeWordList_NothingWhenUnreadable) {
    TempFolder folder;
    EXPECT_EQ(ReadWholeWordList(folder / "le.txt"), std::nullopt);
    EXPECT_EQ(ReadWholeWordList(folder.Path()), std::nullopt);
}
