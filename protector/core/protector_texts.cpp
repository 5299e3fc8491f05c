#include "protector_texts.h"

std::string ClosingMessage(int foundCount, int protectedCount, int failedCount) {
    std::string text = "Sellomar ha encontrado " + std::to_string(foundCount) + " ficheros ..\r\n" +
                       "de los cuales ha encriptado " + std::to_string(protectedCount) + " ficheros ...";
    if (failedCount > 0) {
        text += "\r\nno se han podido escribir " + std::to_string(failedCount) + " ficheros ...";
    }
    return text;
}
