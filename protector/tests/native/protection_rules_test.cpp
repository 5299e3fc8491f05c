// What a protection run accepts: program passwords, candidate names, plain texts, target paths.
#include <gtest/gtest.h>

#include <string>

#include "protection_rules.h"

TEST(ProtectionRules, ProgramPassword_LengthAsTyped) {
    struct Case {
        std::string typed;
        bool accepted;
    } cases[] = {
        {"", false},
        {"abc", false},
        {"abcd", true},
        {std::string(50, 'x'), true},
        {std::string(51, 'x'), false},
        {" ab ", true},           // spaces count as typed
        {"    ", false},          // blanks only would leave an earlier run's key in the record
        {std::string(50, ' '), false},
        {"  a ", true},
        {"contrase\xF1" "a", true},
    };
    for (const Case& c : cases) EXPECT_EQ(IsProgramPasswordAccepted(c.typed), c.accepted) << '"' << c.typed << '"';
}

TEST(ProtectionRules, Candidate_ExactLowerCaseTxtOrLog) {
    EXPECT_TRUE(IsCandidate("clave.txt"));
    EXPECT_TRUE(IsCandidate("notas.log"));
    EXPECT_TRUE(IsCandidate("a.b.txt"));
    EXPECT_TRUE(IsCandidate(".txt"));
    EXPECT_FALSE(IsCandidate("foto.TXT"));
    EXPECT_FALSE(IsCandidate("x.Log"));
    EXPECT_FALSE(IsCandidate("txt"));
    EXPECT_FALSE(IsCandidate("banco.sclav"));
    EXPECT_FALSE(IsCandidate("banco.txt.bak"));
    EXPECT_FALSE(IsCandidate("banco.txt "));
}

TEST(ProtectionRules, TargetPath_DropsOnlyTheLastExtension) {
    EXPECT_EQ(TargetPath("T:\\dest\\", "banco.txt"), "T:\\dest\\banco.sclav");
    EXPECT_EQ(TargetPath("T:\\dest\\", "a.b.txt"), "T:\\dest\\a.b.sclav");
    EXPECT_EQ(TargetPath("T:\\", "notas.log"), "T:\\notas.sclav");
}

TEST(ProtectionRules, PlainText_OneToFiftyCharactersNotBlank) {
    EXPECT_FALSE(IsAcceptedPlainText(""));
    EXPECT_TRUE(IsAcceptedPlainText("x"));
    EXPECT_TRUE(IsAcceptedPlainText(std::string(50, 'x')));
    EXPECT_FALSE(IsAcceptedPlainText(std::string(51, 'x')));
    EXPECT_FALSE(IsAcceptedPlainText("   "));
    EXPECT_TRUE(IsAcceptedPlainText("  a  "));
    EXPECT_FALSE(IsAcceptedPlainText(std::string("ab\0cd", 5)));
    EXPECT_TRUE(IsAcceptedPlainText("\xF1\xE1"));
}
