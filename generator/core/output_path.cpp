#include "output_path.h"

#include <array>

#include "text1252.h"

std::optional<std::string> ProgramFolderOf(std::string_view programPath) {
    const std::size_t slash = programPath.rfind('\\');
    if (slash == std::string_view::npos || slash + 1 > LongestProgramFolder) return std::nullopt;
    return std::string(programPath.substr(0, slash + 1));
}

std::optional<std::string> OutputPath(std::string_view programFolder, std::string_view fileName) {
    if (programFolder.size() + fileName.size() > LongestOutputPath) return std::nullopt;
    return std::string(programFolder) + std::string(fileName);
}

std::string PathTooLongMessage(std::string_view programFolder, std::string_view fileName) {
    return "El nombre del fichero es demasiado largo: la ruta \"" + std::string(programFolder) +
           std::string(fileName) + "\" pasa de " + std::to_string(LongestOutputPath) + " caracteres";
}

std::string WriteFailedMessage(std::string_view path, std::size_t linesWritten, std::size_t lineCount) {
    std::string text = "No se ha podido escribir en el fichero \"" + std::string(path) +
                       "\". Comprueba que la carpeta existe, que el nombre es valido y que ningun otro programa "
                       "lo tiene abierto.";
    if (lineCount > 1)
        text += " Se han escrito " + std::to_string(linesWritten) + " de " + std::to_string(lineCount) + " lineas.";
    return text;
}

namespace {
bool IsDeviceName(std::string_view part) {
    part = part.substr(0, part.find('.'));
    while (!part.empty() && (part.back() == ' ' || part.back() == '.')) part.remove_suffix(1);
    const std::string name = cp1252::Lower(part);
    static constexpr std::array<std::string_view, 6> fixed = {"con", "prn", "aux", "nul", "conin$", "conout$"};
    for (std::string_view device : fixed) {
        if (name == device) return true;
    }
    if (name.size() != 4 || (name.compare(0, 3, "com") != 0 && name.compare(0, 3, "lpt") != 0)) return false;
    const char digit = name[3];
    return (digit >= '1' && digit <= '9') || digit == '\xB9' || digit == '\xB2' || digit == '\xB3';
}
}  // namespace

bool NamesADevice(std::string_view fileName) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = fileName.find_first_of("\\/", start);
        if (IsDeviceName(fileName.substr(start, end == std::string_view::npos ? end : end - start))) return true;
        if (end == std::string_view::npos) return false;
        start = end + 1;
    }
}

std::string NotADiskFileMessage(std::string_view path) {
    return "\"" + std::string(path) + "\" no es un fichero del disco: no se ha escrito nada. Elige otro nombre de fichero";
}
