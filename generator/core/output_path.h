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

// Whether a part of the typed name (the file or any folder on the way) is a name Windows keeps for a device:
// CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9 (also with the superscript digits 1, 2, 3), CONIN$, CONOUT$, in any
// letter case, once whatever follows the part's first dot and then its trailing dots and blanks are dropped.
// Opened for writing, such a name writes into the device (nul.txt swallows the password).
bool NamesADevice(std::string_view fileName);

// Whether the name holds a ':', which on NTFS writes into a hidden stream of another file.
inline bool NamesAStream(std::string_view fileName) { return fileName.find(':') != std::string_view::npos; }

// Line ending of the password files: two carriage returns, then a line feed.
inline constexpr std::string_view PasswordLineEnd = "\r\r\n";

inline constexpr std::string_view ProgramFolderUnusableMessage =
    "No se puede usar la carpeta del programa: su ruta es demasiado larga o tiene caracteres que no se "
    "pueden escribir";
inline constexpr std::string_view FileNameUnusableMessage =
    "El nombre del fichero tiene caracteres que no se pueden usar";

inline constexpr std::string_view DeviceNameMessage =
    "El nombre del fichero no se puede usar: Windows reserva CON, PRN, AUX, NUL, COM1 a COM9 y LPT1 a LPT9 "
    "(tambien con extension, y como nombre de carpeta) para sus dispositivos";

// The file opened is no file on disk (a device, a pipe): nothing was written into it.
std::string NotADiskFileMessage(std::string_view path);

std::string PathTooLongMessage(std::string_view programFolder, std::string_view fileName);

// A line that could not be written: names the file and says how much of the password is in it.
std::string WriteFailedMessage(std::string_view path, std::size_t linesWritten, std::size_t lineCount);
