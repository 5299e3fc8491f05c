#include "file_names.h"

#include <cstdio>

std::string FileExtension(std::string_view name, std::string_view whenNoDot) {
    auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return std::string(whenNoDot);
    return std::string(name.substr(dot + 1));
}

std::string NameWithoutExtension(std::string_view name) {
    auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return std::string(name);
    return std::string(name.substr(0, dot));
}

std::string WithTrailingBackslash(std::string_view folder) {
    std::string out(folder);
    if (!out.empty() && out.back() != '\\') out.push_back('\\');
    return out;
}

std::string ThreeDigitNumber(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", value);
    return text;
}
