// Where the generator writes: the program's folder and the password file in it, refused rather than cut
// when a path is too long for the buffers that hold it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The folder buffer holds 255 bytes with its terminating zero; the file path, the platform's 260.
inline constexpr std::size_t LongestProgramFolder = 254;
inline constexpr std::size_t LongestOutputPath = 259;

// The program's path up to and including its last backslash; nothing when there is no backslash or the
// folder is longer than LongestProgramFolder.
std::optional<std::string> ProgramFolderOf(std::string_view programPath);

// The folder followed by the name as typed, nothing inserted or removed; nothing when longer than
// LongestOutputPath.
std::optional<std::string> OutputPath(std::string_view programFolder, std::string_view fileName);

// Line ending of the password files: two carriage returns, then a line feed.
inline constexpr std::string_view PasswordLineEnd = "\r\r\n";

inline constexpr std::string_view ProgramFolderUnusableMessage =
    "No se puede usar la carpeta del programa: su ruta es demasiado larga o tiene caracteres que no se "
    "pueden escribir";
inline constexpr std::string_view FileNameUnusableMessage =
    "El nombre del fichero tiene caracteres que no se pueden usar";

std::string PathTooLongMessage(std::string_view programFolder, std::string_view fileName);

// A line that could not be written: names the file and says how much of the password is in it.
std::string WriteFailedMessage(std::string_view path, std::size_t linesWritten, std::size_t lineCount);
