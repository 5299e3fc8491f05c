// The registry values of the .sclav association.
#include <gtest/gtest.h>

#include "file_type.h"

TEST(FileType, DoubleBackslashes) {
    EXPECT_EQ(DoubleBackslashes("C:\\Apps\\x.exe"), "C:\\\\Apps\\\\x.exe");
    EXPECT_EQ(DoubleBackslashes("\\\\srv\\s"), "\\\\\\\\srv\\\\s");
    EXPECT_EQ(DoubleBackslashes("sin"), "sin");
    EXPECT_EQ(DoubleBackslashes(""), "");
}

TEST(FileType, TrimBackslashes) {
    EXPECT_EQ(TrimBackslashes("\\.sclav"), ".sclav");
    EXPECT_EQ(TrimBackslashes("\\\\a\\b\\\\"), "a\\b");
    EXPECT_EQ(TrimBackslashes("\\\\"), "");
    EXPECT_EQ(TrimBackslashes("a"), "a");
}

TEST(FileType, FileTypeStrings_ThreeKeysWithDoubledPath) {
    // With the extension and icon the program registers.
    auto strings = FileTypeStrings(ProtectedExtension, "C:\\Herramientas\\Sellomar.exe", ProtectedIconIndex);
    ASSERT_EQ(strings.size(), 3u);
    EXPECT_EQ(strings[0].subkey, "\\.sclav");
    EXPECT_EQ(strings[0].data, "sclav-files");
    EXPECT_EQ(strings[1].subkey, "\\sclav-files\\DefaultIcon");
    EXPECT_EQ(strings[1].data, "C:\\\\Herramientas\\\\Sellomar.exe,1");
    EXPECT_EQ(strings[2].subkey, "\\sclav-files\\Shell\\Open\\Command");
    EXPECT_EQ(strings[2].data, "C:\\\\Herramientas\\\\Sellomar.exe %1");
}
