#include "protection_rules.h"

#include "file_names.h"
#include "text1252.h"

bool IsProgramPasswordAccepted(std::string_view typed) {
    if (typed.size() < MinProgramPassword || typed.size() > MaxProgramPassword) return false;
    return !cp1252::TrimmedView(typed).empty();
}

bool IsCandidate(std::string_view fileName) {
    std::string extension = FileExtension(fileName);
    return extension == "txt" || extension == "log";
}

std::string TargetPath(std::string_view targetFolder, std::string_view fileName) {
    return std::string(targetFolder) + NameWithoutExtension(fileName) + ".sclav";
}

bool IsAcceptedPlainText(std::string_view text) {
    if (text.empty() || text.size() > MaxPlainText) return false;
    if (text.find('\0') != std::string_view::npos) return false;
    return !cp1252::TrimmedView(text).empty();
}
