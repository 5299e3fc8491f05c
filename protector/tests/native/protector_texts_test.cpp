// The protector's messages, byte for byte.
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

TEST(ProtectorTexts, MessagesOfTheRunAndTheRegistration) {
    EXPECT_EQ(ProgrammerTitle, "Programador");
    EXPECT_EQ(FirstPickMessage, "Vas a elegir carpeta a escanear, donde estan las contrase\xF1" "as sin proteger ...");
    EXPECT_EQ(SecondPickMessage, "Ahora vas a elegir la carpeta donde deseas que se guarden ...");
    EXPECT_EQ(CancelledMessage, "Acci\xF3" "n cancelada ...");
    EXPECT_EQ(PasswordLengthMessage, "La contrase\xF1" "a del programa debe tener entre 4 y 50 caracteres ...");
    EXPECT_EQ(RegisteredMessage,
              ".sclav Registrado ...\r\nsi sale m\xE1" "s este mensaje, dale compatibilidad XP SP 2 ...");
    EXPECT_EQ(ExtensionDotMessage, "Error : Extension se pone sin punto ...");
}
