#include <gtest/gtest.h>

#include <string>

#include "output_path.h"

TEST(OutputPath, ProgramFolderOf_KeepsUpToTheLastBackslash) {
    EXPECT_EQ(ProgramFolderOf("C:\\Herramientas\\Claverix.exe"), "C:\\Herramientas\\");
    EXPECT_EQ(ProgramFolderOf("C:\\Claverix.exe"), "C:\\");
    EXPECT_EQ(ProgramFolderOf("Claverix.exe"), std::nullopt);
}

TEST(OutputPath, ProgramFolderOf_RefusesAFolderTooLongForItsBuffer) {
    // The folder's buffer holds 255 bytes with its zero.
    const std::string fits = "C:\\" + std::string(250, 'a') + "\\";
    ASSERT_EQ(fits.size(), 254u);
    EXPECT_EQ(ProgramFolderOf(fits + "Claverix.exe"), fits);
    const std::string tooLong = "C:\\" + std::string(251, 'a') + "\\";
    EXPECT_EQ(ProgramFolderOf(tooLong + "Claverix.exe"), std::nullopt);
}

TEST(OutputPath, OutputPath_JoinsAsTypedAndRefusesTooLong) {
    EXPECT_EQ(OutputPath("C:\\p\\", "a.txt"), "C:\\p\\a.txt");
    EXPECT_EQ(OutputPath("C:\\p\\", "x\\y.txt"), "C:\\p\\x\\y.txt");
    EXPECT_EQ(OutputPath("C:\\p\\", " b "), "C:\\p\\ b ");
    const std::string folder = "C:\\p\\";
    const std::string longest(259 - folder.size(), 'n');  // the platform's 260 with the zero
    EXPECT_EQ(OutputPath(folder, longest), folder + longest);
    EXPECT_EQ(OutputPath(folder, longest + "n"), std::nullopt);
}

TEST(OutputPath, PasswordLinesEndWithTwoCarriageReturnsAndALineFeed) { EXPECT_EQ(PasswordLineEnd, "\r\r\n"); }

TEST(OutputPath, NamesADevice_InAnyPartWhateverTheExtensionCaseOrTrailingDots) {
    for (const char* name : {"nul", "NUL.txt", "Con.tar.gz", "aux .txt", "prn..", "com1", "LPT9.log", "com\xB9.txt",
                             "lpt\xB3", "conin$", "CONOUT$.txt", "x\\nul\\a.txt", "con/a.txt", "sub\\Aux"})
        EXPECT_TRUE(NamesADevice(name)) << name;
    for (const char* name : {"nulo.txt", "a.nul", "com0", "com10", "lpt", "conin", "xcon.txt", " nul", "banco.txt",
                             "x\\y.txt", "com\xB4"})
        EXPECT_FALSE(NamesADevice(name)) << name;
    EXPECT_TRUE(NamesAStream("a:b.txt"));
    EXPECT_FALSE(NamesAStream("a.txt"));
}
