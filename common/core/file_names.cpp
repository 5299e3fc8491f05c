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

std::string OpenablePath(std::string_view path) {
    if (path.size() <= PlainPathLimit) return std::string(path);
    const char letter = static_cast<char>(path[0] | 0x20);
    if (letter >= 'a' && letter <= 'z' && path.substr(1, 2) == ":\\") return "\\\\?\\" + std::string(path);
    // "\\?\" and "\\.\" paths are device paths already, not shares.
    if (path.substr(0, 2) == "\\\\" && path[2] != '?' && path[2] != '.')
        return "\\\\?\\UNC" + std::string(path.substr(1));
    return std::string(path);
}

std::string ThreeDigitNumber(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", value);
    return text;
}
