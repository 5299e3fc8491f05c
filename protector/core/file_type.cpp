#include "file_type.h"

std::string DoubleBackslashes(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        out.push_back(c);
        if (c == '\\') out.push_back('\\');
    }
    return out;
}

std::string TrimBackslashes(std::string_view subkey) {
    auto first = subkey.find_first_not_of('\\');
    if (first == std::string_view::npos) return {};
    auto last = subkey.find_last_not_of('\\');
    return std::string(subkey.substr(first, last - first + 1));
}

std::vector<RegistryString> FileTypeStrings(std::string_view extension, std::string_view programPath, int iconIndex) {
    std::string ext(extension);
    std::string path = DoubleBackslashes(programPath);
    return {
        {"\\." + ext, ext + "-files"},
        {"\\" + ext + "-files\\DefaultIcon", path + "," + std::to_string(iconIndex)},
        {"\\" + ext + "-files\\Shell\\Open\\Command", path + " %1"},
    };
}
