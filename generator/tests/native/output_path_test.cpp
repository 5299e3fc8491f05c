#include <gtest/gtest.h>

#include <string>

#include "output_path.h"

TEST(OutputPath, ProgramFolderOf_KeepsUpToTheLastBackslash) {
    EXPECT_EQ(ProgramFolderOf("C:\\Herramientas\\Claverix.exe"), "C:\\Herramientas\\");
    EXPECT_EQ(ProgramFolderOf("C:\\Claverix.exe"), "C:\\");
    EXPECT_EQ(ProgramFolderOf("Claverix.exe"), std::nullopt);
}

TEST(OutputPath, ProgramFolderOf_RefusesAFolderTooLongForItsBuffer) {
    const std::string fits = "C:\\" + std::string(LongestProgramFolder - 4, 'a') + "\\";
    ASSERT_EQ(fits.size(), LongestProgramFolder);
    EXPECT_EQ(ProgramFolderOf(fits + "Claverix.exe"), fits);
    const std::string tooLong = "C:\\" + std::string(LongestProgramFolder - 3, 'a') + "\\";
    EXPECT_EQ(ProgramFolderOf(tooLong + "Claverix.exe"), std::nullopt);
}

TEST(OutputPath, OutputPath_JoinsAsTypedAndRefusesTooLong) {
    EXPECT_EQ(OutputPath("C:\\p\\", "a.txt"), "C:\\p\\a.txt");
    EXPECT_EQ(OutputPath("C:\\p\\", "x\\y.txt"), "C:\\p\\x\\y.txt");
    EXPECT_EQ(OutputPath("C:\\p\\", " b "), "C:\\p\\ b ");
    const std::string folder = "C:\\p\\";
    const std::string longest(LongestOutputPath - folder.size(), 'n');
    EXPECT_EQ(OutputPath(folder, longest), folder + longest);
    EXPECT_EQ(OutputPath(folder, longest + "n"), std::nullopt);
}
