// File name pieces and the three-digit numbers.
#include <gtest/gtest.h>

#include "file_names.h"
#include "folder_prompt.h"
#include "reparse_tag.h"

TEST(FileNames, ExtensionIsAfterTheLastDot) {
    EXPECT_EQ(FileExtension("banco.txt"), "txt");
    EXPECT_EQ(FileExtension("mi.banco.log"), "log");
    EXPECT_EQ(FileExtension("foto.TXT"), "TXT");
    EXPECT_EQ(FileExtension("c.sclav.txt", " "), "txt");
    EXPECT_EQ(FileExtension("punto."), "");
}

TEST(FileNames, NameWithoutDotGivesTheProgramsOwnNoExtensionText) {
    EXPECT_EQ(FileExtension("d"), "");        // the protector
    EXPECT_EQ(FileExtension("d", " "), " ");  // the loader
}

TEST(FileNames, NameWithoutExtension) {
    EXPECT_EQ(NameWithoutExtension("banco.txt"), "banco");
    EXPECT_EQ(NameWithoutExtension("a.b.txt"), "a.b");
    EXPECT_EQ(NameWithoutExtension(".sclav"), "");
    EXPECT_EQ(NameWithoutExtension("sinpunto"), "sinpunto");
}

TEST(FileNames, TrailingBackslashIsAddedOnce) {
    EXPECT_EQ(WithTrailingBackslash("C:\\datos"), "C:\\datos\\");
    EXPECT_EQ(WithTrailingBackslash("T:\\"), "T:\\");
    EXPECT_EQ(WithTrailingBackslash(""), "");
}

TEST(FileNames, PathsPastTheLimitOfTheFileCallsTakeTheExtendedForm) {
    const std::string name = std::string(244, 'c') + ".sclav";  // 250 characters
    // 259 characters open as they are; 260 and more need "\\?\", on a share "\\?\UNC\".
    EXPECT_EQ(OpenablePath("C:\\carpe\\" + name), "C:\\carpe\\" + name);
    EXPECT_EQ(OpenablePath("C:\\carpet\\" + name), "\\\\?\\C:\\carpet\\" + name);
    EXPECT_EQ(OpenablePath("\\\\srv\\doc\\" + name), "\\\\?\\UNC\\srv\\doc\\" + name);
    // Short, already extended, a device, or not absolute: left alone.
    for (const std::string& other : {"\\\\sr\\do\\" + name, "\\\\?\\C:\\carpet\\" + name,
                                     "\\\\.\\C:\\carpet\\" + name, "mis carpetas\\" + name})
        EXPECT_EQ(OpenablePath(other), other);
}

TEST(FileNames, ThreeDigitNumbers) {
    EXPECT_EQ(ThreeDigitNumber(0), "000");
    EXPECT_EQ(ThreeDigitNumber(7), "007");
    EXPECT_EQ(ThreeDigitNumber(42), "042");
    EXPECT_EQ(ThreeDigitNumber(123), "123");
    EXPECT_EQ(ThreeDigitNumber(1234), "1234");
}

TEST(FolderPrompt, SecondLineStartsWithTheRegisteredSign) {
    EXPECT_EQ(PickerPrompt(ProtectorPickerLine), "Elige Carpeta ...\r\n\xAE Velmor Soft");
    EXPECT_EQ(PickerPrompt(LoaderPickerLine),
              "Elige Unidad o Carpeta de las contrase\xF1" "as ...\r\n\xAE Velmor Soft");
}

TEST(ReparseTag, OnlyJunctionsAndLinksAreNotEnteredCloudFoldersAre) {
    // Tag values as Windows' winnt.h defines them.
    for (std::uint32_t link : {0xA0000003u /* junction */, 0xA000000Cu /* symbolic link */,
                               0xA000001Du /* WSL symbolic link */, 0x00000000u /* Wine's Unix link */})
        EXPECT_TRUE(IsLinkReparseTag(link)) << std::hex << link;
    for (std::uint32_t folder : {0x9000001Au /* OneDrive files on demand: CLOUD */, 0x9000601Au /* CLOUD_6 */,
                                 0x9000F01Au /* CLOUD_F */, 0x80000021u /* ONEDRIVE */, 0x9000001Cu /* PROJFS */,
                                 0x80000013u /* DEDUP */, 0x8000001Eu /* STORAGE_SYNC */})
        EXPECT_FALSE(IsLinkReparseTag(folder)) << std::hex << folder;
}
