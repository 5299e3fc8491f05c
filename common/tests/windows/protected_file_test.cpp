// Writing and reading .sclav files through the real file calls.
#include <gtest/gtest.h>

#include "platform.h"
#include "protected_file.h"
#include "temp_folder.h"
#include "unique.h"
#include "win_text.h"

class ProtectedFileTest : public ::testing::Test {
protected:
    void SetUp() override { WriterRecord() = ProtectedRecord{}; }
    // Writes copies of the texts, for the cases that do not look at their wiping.
    bool Write(const std::string& name, std::string_view keyText, std::string_view passwordText,
               ExistingFile existing = ExistingFile::Extend) {
        SecretText key(keyText), password(passwordText);
        return WriteProtectedFile(folder / name, key, password, existing);
    }
    TempFolder folder;
};

TEST_F(ProtectedFileTest, WrittenFileIsOneRecordThatReadsBack) {
    SecretText key = "clave", password = "  abc def  ";
    ASSERT_TRUE(WriteProtectedFile(folder / "banco.sclav", key, password));
    EXPECT_EQ(key, "");  // the texts it encoded are wiped
    EXPECT_EQ(password, "");
    EXPECT_EQ(ReadWholeFile(folder / "banco.sclav").size(), 184u);  // the bytes of a record: protected_record_test
    EXPECT_EQ(ReadStoredKey(folder / "banco.sclav"), "clave");
    EXPECT_EQ(ReadStoredPassword(folder / "banco.sclav"), "abc def");
}

TEST_F(ProtectedFileTest, LaterFilesOfARunKeepTheKeyChunks) {
    SecretText key = "clave", first = "uno", second = "\xF1" "and\xFA";
    ASSERT_TRUE(WriteProtectedFile(folder / "a.sclav", key, first));
    ASSERT_TRUE(WriteProtectedFile(folder / "b.sclav", key, second));  // key is empty by now
    std::string a = ReadWholeFile(folder / "a.sclav"), b = ReadWholeFile(folder / "b.sclav");
    EXPECT_EQ(a.substr(8, 80), b.substr(8, 80));
    EXPECT_EQ(ReadStoredKey(folder / "b.sclav"), "clave");
    EXPECT_EQ(ReadStoredPassword(folder / "b.sclav"), "\xF1" "and\xFA");
}

TEST_F(ProtectedFileTest, BlankPasswordDoesNotInheritThePreviousOne) {
    ASSERT_TRUE(Write("a.sclav", "clave", "secreto"));
    ASSERT_TRUE(Write("b.sclav", "", "   "));
    EXPECT_EQ(ReadStoredPassword(folder / "b.sclav"), "");
    EXPECT_EQ(ReadStoredKey(folder / "b.sclav"), "clave");
}

TEST_F(ProtectedFileTest, ExistingWholeRecordsAreFollowedNotOverwritten) {
    ASSERT_TRUE(Write("x.sclav", "k1", "uno"));
    ASSERT_TRUE(Write("x.sclav", "k2", "dos"));
    EXPECT_EQ(ReadWholeFile(folder / "x.sclav").size(), 368u);
    EXPECT_EQ(ReadStoredKey(folder / "x.sclav"), "k2");
    EXPECT_EQ(ReadStoredPassword(folder / "x.sclav"), "dos");

    // Asked for a new file only, the writer leaves an existing one as it is.
    EXPECT_FALSE(Write("x.sclav", "", "tres", ExistingFile::Refuse));
    EXPECT_EQ(ReadWholeFile(folder / "x.sclav").size(), 368u);
    EXPECT_EQ(ReadStoredPassword(folder / "x.sclav"), "dos");
    ASSERT_TRUE(Write("y.sclav", "", "tres", ExistingFile::Refuse));
    EXPECT_EQ(ReadStoredPassword(folder / "y.sclav"), "tres");
}

TEST_F(ProtectedFileTest, ReadersRefuseBadLengthsAndNeverCreateFiles) {
    WriteWholeFile(folder / "corto.sclav", std::string(100, '\x01'));
    WriteWholeFile(folder / "largo.sclav", std::string(185, '\x01'));
    WriteWholeFile(folder / "vacio.sclav", "");
    for (const char* name : {"corto.sclav", "largo.sclav", "vacio.sclav"}) {
        EXPECT_EQ(ReadStoredKey(folder / name), "") << name;
        EXPECT_EQ(ReadStoredPassword(folder / name), "") << name;
    }
    EXPECT_EQ(ReadStoredKey(folder / "falta.sclav"), "");
    EXPECT_FALSE(FileExists(folder / "falta.sclav"));
}

TEST_F(ProtectedFileTest, LockedFileReadsAsEmpty) {
    ASSERT_TRUE(Write("l.sclav", "clave", "secreto"));
    UniqueFile holder(CreateFileW(Wide(folder / "l.sclav").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_EQ(ReadStoredPassword(folder / "l.sclav"), "");
    holder.reset();
    EXPECT_EQ(ReadStoredPassword(folder / "l.sclav"), "secreto");
}

TEST_F(ProtectedFileTest, FailedWriteReportsAndLeavesNothing) {
    EXPECT_FALSE(Write("no\\existe\\x.sclav", "clave", "secreto"));
    // A folder of that name: the open fails.
    folder.MakeFolders("carpeta.sclav");
    EXPECT_FALSE(Write("carpeta.sclav", "clave", "secreto"));
    EXPECT_EQ(FolderContent(folder.Path()), std::vector<std::string>{"carpeta.sclav\\"});
    EXPECT_TRUE(FolderContent(folder / "carpeta.sclav\\").empty());
}

TEST_F(ProtectedFileTest, AccentedPathsWorkThroughWideCalls) {
    ASSERT_TRUE(Write("contrase\xF1" "a \x80.sclav", "clave", "p"));
    EXPECT_EQ(ReadStoredPassword(folder / "contrase\xF1" "a \x80.sclav"), "p");
    EXPECT_TRUE(FileExists(folder / "contrase\xF1" "a \x80.sclav"));
}

TEST_F(ProtectedFileTest, FilesPastThePathLimitAreWrittenAndRead) {
    // A folder of 240 characters, which any system makes, and a name that takes the path to 267.
    const std::string deep = std::string(240 - folder.Path().size(), 'd'), name = "contrase\xF1" "a del banco.sclav";
    folder.MakeFolders(deep);
    ASSERT_TRUE(Write(deep + "\\" + name, "clave", "secreto", ExistingFile::Refuse));
    EXPECT_EQ(FolderContent(folder / deep + "\\"), std::vector<std::string>{name});
    EXPECT_TRUE(PathExists(folder / deep + "\\" + name));
    EXPECT_EQ(ReadStoredPassword(folder / deep + "\\" + name), "secreto");
}
