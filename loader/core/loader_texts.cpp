#include "loader_texts.h"

#include <charconv>

#include "text1252.h"

std::string ListFullText() {
    return "La lista ya tiene 500 ficheros, los que caben como maximo.\r\n"
           "No se han cargado los demas: pulse \"Resetear\" y cargue una carpeta con menos ficheros.";
}

std::string LengthText(std::size_t characters) {
    std::string text = "El n\xBA de caracteres del password es :\r\n";
    text += std::to_string(characters);
    text += " digitos ...";
    return text;
}

std::string SignedNumberText(std::int64_t value) {
    std::string text = value < 0 ? "" : " ";
    text += std::to_string(value);
    return text;
}

std::string StatusReportText(const std::vector<std::int32_t>& checkValues) {
    std::string text;
    for (std::size_t i = 0; i < checkValues.size(); ++i) {
        text += "Item";
        text += SignedNumberText(static_cast<std::int64_t>(i) + 1);
        text += " = ";
        text += SignedNumberText(checkValues[i]);
        text += "\r\n";
    }
    return text;
}

std::string HelpText() {
    static constexpr std::string_view lines[] = {
        "Este programa es complementario del programa Claverix",
        "Su funcion es cargar en el listbox los ficheros con extension \".sclav\" ",
        "Suponemos que estos ficheros han sido generados por Claverix y despu\xE9s Sellomar",
        "y que en su interior guardamos contrase\xF1" "as o passwords de programas y webs concretas",
        "de tal manera que al hacer dobleclick en una linea del listbox o fichero ",
        "estamos cargando el contenido de dicho fichero en el clipboard",
        "para asi poder pastear directamente donde nos lo solicitan",
        "y poder acceder a nuestros programas y webs favoritos ...",
        "teniendo todos los passwords en este programa cargados y preparados ",
        "para pastearlos cuando haga falta, haciendo dobleclick en listbox ",
        "",
        "Tiene cinco funciones de teclado rapido :",
        "ALT + P = Oculta y visualiza el dialogo ",
        "ALT + N = Mete en el Clipboard el nombre de fichero (Claverix)",
        "ALT + B = Borra el contenido del clipboard ",
        "ALT + R = Mete en el Clipboard la contrase\xF1" "a",
        "ALT + L = Mide la cantidad de caracteres del password",
        "",
        "Que lo disfruten ....     (c) Velmor Soft",
    };
    std::string text;
    for (std::size_t i = 0; i < std::size(lines); ++i) {
        if (i > 0) text += "\r\n";
        text += lines[i];
    }
    return text;
}

std::string TimeOfDayText(int secondsSinceMidnight, int milliseconds) {
    std::string text = " ";
    text += std::to_string(secondsSinceMidnight);
    if (milliseconds > 0) {
        std::string decimals = std::to_string(1000 + milliseconds % 1000).substr(1);
        while (decimals.back() == '0') decimals.pop_back();
        text += '.';
        text += decimals;
    }
    return text;
}

std::string FontDescription(const FontFields& font) {
    std::string text = font.face;
    for (int number : {font.size, font.bold, font.italic, font.underline, font.strikeOut}) {
        text += ',';
        text += std::to_string(number);
    }
    return text;
}

std::optional<FontFields> ParseFontDescription(std::string_view description) {
    std::vector<std::string_view> fields;
    for (;;) {
        auto comma = description.find(',');
        fields.push_back(description.substr(0, comma));
        if (comma == std::string_view::npos) break;
        description.remove_prefix(comma + 1);
    }
    if (fields.size() != 6) return std::nullopt;
    FontFields font;
    font.face = fields[0];
    int* numbers[] = {&font.size, &font.bold, &font.italic, &font.underline, &font.strikeOut};
    for (std::size_t i = 0; i < 5; ++i) {
        std::string_view field = fields[i + 1];
        auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), *numbers[i]);
        if (error != std::errc() || end != field.data() + field.size() || field.empty()) return std::nullopt;
    }
    return font;
}

bool SameFontDescription(std::string_view a, std::string_view b) { return cp1252::Lower(a) == cp1252::Lower(b); }

std::string ListRefusedText() {
    return "La lista no admite mas lineas: no se han cargado los demas ficheros.";
}

std::string HotKeysTakenText(const std::vector<std::string_view>& keyNames) {
    const bool one = keyNames.size() == 1;
    std::string text = one ? "Otro programa ya usa esta tecla rapida, que no funcionara en Portaclip:\r\n"
                           : "Otro programa ya usa estas teclas rapidas, que no funcionaran en Portaclip:\r\n";
    for (std::size_t i = 0; i < keyNames.size(); ++i) {
        if (i > 0) text += ", ";
        text += keyNames[i];
    }
    text += one ? "\r\nCierra ese programa y vuelve a abrir Portaclip para usarla."
                : "\r\nCierra ese programa y vuelve a abrir Portaclip para usarlas.";
    return text;
}

std::string CharacterWhat(int position) { return "el caracter " + std::to_string(position) + " del password"; }

std::string ClipboardBusyText(std::string_view what, bool emptied) {
    std::string text = "No se ha podido poner ";
    text += what;
    text += " en el Clipboard: otro programa lo esta usando.\r\n";
    text += emptied ? "El Clipboard se ha quedado vacio." : "El Clipboard no ha cambiado.";
    return text;
}
