// The protector's messages to the user, byte for byte in Windows-1252.
#pragma once

#include <string>
#include <string_view>

inline constexpr std::string_view ProgrammerTitle = "Programador";

inline constexpr std::string_view FirstPickMessage =
    "Vas a elegir carpeta a escanear, donde estan las contrase\xF1" "as sin proteger ...";
inline constexpr std::string_view SecondPickMessage = "Ahora vas a elegir la carpeta donde deseas que se guarden ...";
inline constexpr std::string_view CancelledMessage = "Acci\xF3" "n cancelada ...";
inline constexpr std::string_view PasswordLengthMessage =
    "La contrase\xF1" "a del programa debe tener entre 4 y 50 caracteres ...";
// A typed character with no Windows-1252 byte would be stored as '?' and never match at the loader.
inline constexpr std::string_view PasswordCharactersMessage =
    "La contrase\xF1" "a del programa tiene caracteres que no se pueden guardar ...";

inline constexpr std::string_view RegisteredMessage =
    ".sclav Registrado ...\r\nsi sale m\xE1" "s este mensaje, dale compatibilidad XP SP 2 ...";
inline constexpr std::string_view RegistrationFailedMessage =
    "No se ha podido registrar el tipo .sclav ...\r\n"
    "Los ficheros .sclav no se abrir\xE1" "n con Sellomar.";
inline constexpr std::string_view ExtensionDotMessage = "Error : Extension se pone sin punto ...";

// The end of a run: files found and protected; a third line only when some records could not be written.
std::string ClosingMessage(int foundCount, int protectedCount, int failedCount);
