// The two-line prompts the folder picker shows: the program's first line, then the registered sign
// (0xAE in Windows-1252) and the maker's name; and what both programs say of a folder they cannot use.
#pragma once

#include <string>
#include <string_view>

inline constexpr std::string_view LoaderPickerLine = "Elige Unidad o Carpeta de las contrase\xF1" "as ...";
inline constexpr std::string_view ProtectorPickerLine = "Elige Carpeta ...";

std::string PickerPrompt(std::string_view firstLine);

// A chosen folder whose name has a character with no Windows-1252 byte: its path cannot be searched as chosen.
inline constexpr std::string_view UnwritableFolderMessage =
    "La carpeta elegida tiene caracteres en su nombre que no se pueden usar ...\r\n"
    "Cambia su nombre o elige otra carpeta.";

// A chosen folder whose path is too long for the walks to search (its pattern would pass the path limit).
inline constexpr std::string_view FolderTooLongMessage =
    "La ruta de la carpeta elegida es demasiado larga ...\r\n"
    "Elige una carpeta cuya ruta tenga como mucho 255 caracteres.";
