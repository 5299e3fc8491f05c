// The closing message of a run, byte for byte.
#include <gtest/gtest.h>

#include "protector_texts.h"

TEST(ProtectorTexts, ClosingMessage_TwoLinesWithCounts) {
    EXPECT_EQ(ClosingMessage(3, 2, 0),
              "Sellomar ha encontrado 3 ficheros ..\r\nde los cuales ha encriptado 2 ficheros ...");
    EXPECT_EQ(ClosingMessage(0, 0, 0),
              "Sellomar ha encontrado 0 ficheros ..\r\nde los cuales ha encriptado 0 ficheros ...");
    EXPECT_EQ(ClosingMessage(1234, 56, 0),
              "Sellomar ha encontrado 1234 ficheros ..\r\nde los cuales ha encriptado 56 ficheros ...");
}

TEST(ProtectorTexts, ClosingMessage_FailedWritesAddAThirdLine) {
    EXPECT_EQ(ClosingMessage(5, 2, 1),
              "Sellomar ha encontrado 5 ficheros ..\r\nde los cuales ha encriptado 2 ficheros ...\r\n"
              "no se han podido escribir 1 ficheros ...");
}
