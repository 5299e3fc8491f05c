// The two-line prompts the folder picker shows: the program's first line, then the registered sign
// (0xAE in Windows-1252) and the maker's name.
#pragma once

#include <string>
#include <string_view>

inline constexpr std::string_view LoaderPickerLine = "Elige Unidad o Carpeta de las contrase\xF1" "as ...";
inline constexpr std::string_view ProtectorPickerLine = "Elige Carpeta ...";

std::string PickerPrompt(std::string_view firstLine);
