#include "output_path.h"

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
