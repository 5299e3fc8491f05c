// Writing and reading .sclav files through the real file calls.
#include <gtest/gtest.h>

#include "protected_file.h"
#include "temp_folder.h"
#include "unique.h"
#include "win_text.h"

class ProtectedFileTest : public ::testing::Test {
protected:
    void SetUp() override { WriterRecord() = ProtectedRecord{}; }
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
    SecretText key = "clave", secret = "secreto", blank = "   ";
    ASSERT_TRUE(WriteProtectedFile(folder / "a.sclav", key, secret));
    ASSERT_TRUE(WriteProtectedFile(folder / "b.sclav", key, blank));
    EXPECT_EQ(ReadStoredPassword(folder / "b.sclav"), "");
    EXPECT_EQ(ReadStoredKey(folder / "b.sclav"), "clave");
}

TEST_F(ProtectedFileTest, ExistingWholeRecordsAreFollowedNotOverwritten) {
    SecretText key = "k1", one = "uno";
    ASSERT_TRUE(WriteProtectedFile(folder / "x.sclav", key, one));
    key = "k2";
    SecretText two = "dos";
    ASSERT_TRUE(WriteProtectedFile(folder / "x.sclav", key, two));
    EXPECT_EQ(ReadWholeFile(folder / "x.sclav").size(), 368u);
    EXPECT_EQ(ReadStoredKey(folder / "x.sclav"), "k2");
    EXPECT_EQ(ReadStoredPassword(folder / "x.sclav"), "dos");

    // Asked for a new file only, the writer leaves an existing one as it is.
    SecretText three = "tres";
    EXPECT_FALSE(WriteProtectedFile(folder / "x.sclav", key, three, ExistingFile::Refuse));
    EXPECT_EQ(ReadWholeFile(folder / "x.sclav").size(), 368u);
    EXPECT_EQ(ReadStoredPassword(folder / "x.sclav"), "dos");
    three = "tres";
    ASSERT_TRUE(WriteProtectedFile(folder / "y.sclav", key, three, ExistingFile::Refuse));
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
    SecretText key = "clave", password = "secreto";
    ASSERT_TRUE(WriteProtectedFile(folder / "l.sclav", key, password));
    UniqueFile holder(CreateFileW(Wide(folder / "l.sclav").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_EQ(ReadStoredPassword(folder / "l.sclav"), "");
    holder.reset();
    EXPECT_EQ(ReadStoredPassword(folder / "l.sclav"), "secreto");
}

TEST_F(ProtectedFileTest, FailedWriteReportsAndLeavesNothing) {
    SecretText key = "clave", password = "secreto";
    EXPECT_FALSE(WriteProtectedFile(folder / "no\\existe\\x.sclav", key, password));
    // A folder of that name: the open fails.
    CreateDirectoryW(Wide(folder / "carpeta.sclav").c_str(), nullptr);
    key = "clave";
    password = "secreto";
    EXPECT_FALSE(WriteProtectedFile(folder / "carpeta.sclav", key, password));
    EXPECT_EQ(FolderContent(folder.Path()), std::vector<std::string>{"carpeta.sclav\\"});
    EXPECT_TRUE(FolderContent(folder / "carpeta.sclav\\").empty());
}

TEST_F(ProtectedFileTest, AccentedPathsWorkThroughWideCalls) {
    SecretText key = "clave", password = "p";
    ASSERT_TRUE(WriteProtectedFile(folder / "contrase\xF1" "a \x80.sclav", key, password));
    EXPECT_EQ(ReadStoredPassword(folder / "contrase\xF1" "a \x80.sclav"), "p");
    EXPECT_TRUE(FileExists(folder / "contrase\xF1" "a \x80.sclav"));
}
