// The loader's fixed texts and the texts it builds: message boxes, the help, the status report, the
// hot-key atom names and the font descriptions of its font cache. All Windows-1252.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Message-box styles, by value, so that this code stays free of windows.h.
namespace BoxStyle {
constexpr unsigned Plain = 0x0;           // MB_OK
constexpr unsigned TopMost = 0x40000;     // MB_OK | MB_TOPMOST
constexpr unsigned Information = 0x2040;  // MB_OK | MB_ICONINFORMATION | MB_TASKMODAL
}  // namespace BoxStyle

inline constexpr std::string_view MainCaption = "Desde aqui todas tus contrase\xF1" "as ...";
inline constexpr std::string_view LoginCaption = "Acceda con su contrase\xF1" "a ...";

inline constexpr std::string_view PlainTitle = "...";
inline constexpr std::string_view LoadTitle = "Programador ...";
inline constexpr std::string_view PasswordTitle = "Recalcado ...";
inline constexpr std::string_view StatusTitle = "Status for all items";

inline constexpr std::string_view LoadedText = "Ya he cargado, GRACIAS!!!";
inline constexpr std::string_view NameCopiedText = "El nombre de fichero, ya esta en Clipboard ...";
inline constexpr std::string_view PasswordCopiedText = "El dato de fichero, ya esta en Clipboard ...";
inline constexpr std::string_view ClipboardEmptiedText = "Clipboard Borrado ..";

// What a command puts on the clipboard, as its failure names it.
inline constexpr std::string_view PasswordWhat = "el dato de fichero";
inline constexpr std::string_view NameWhat = "el nombre de fichero";
std::string CharacterWhat(int position);  // "el caracter 3 del password"
// Another program held the clipboard: `what` was not put there; `emptied` when it was emptied on the way.
std::string ClipboardBusyText(std::string_view what, bool emptied);
inline constexpr std::string_view ClipboardNotEmptiedText =
    "No se ha podido borrar el Clipboard: otro programa lo esta usando.\r\nEl Clipboard no ha cambiado.";
// Shown before the closing message when a load found more files than the list can hold.
std::string ListFullText();

// "El nº de caracteres del password es :", a line break, the count, " digitos ...".
std::string LengthText(std::size_t characters);

// A number as the report writes it: a blank in front unless it is negative.
std::string SignedNumberText(std::int64_t value);

// One "Item n = v" line per list line, each ended by a line break; empty for an empty list.
std::string StatusReportText(const std::vector<std::int32_t>& checkValues);

// The help shown by "&Help".
std::string HelpText();

// The time of day as a number-to-text conversion writes seconds with their milliseconds: a leading blank,
// then the number without trailing zeros (" 43200.123", " 43200.5", " 7").
std::string TimeOfDayText(int secondsSinceMidnight, int milliseconds);

// A font as the font cache names it: face, size, bold, italic, underline, strike-out, joined by commas.
struct FontFields {
    std::string face;
    int size = 0;
    int bold = 0, italic = 0, underline = 0, strikeOut = 0;
};
std::string FontDescription(const FontFields& font);
// The fields of a description; nothing when it does not hold six fields with numbers where numbers belong.
std::optional<FontFields> ParseFontDescription(std::string_view description);
// Descriptions are looked up without regard to letter case.
bool SameFontDescription(std::string_view a, std::string_view b);

// Shown instead when the list itself refused a line, so the load stopped early.
std::string ListRefusedText();

// Shown at start when another program already holds some of the hot keys (names as "ALT+R").
std::string HotKeysTakenText(const std::vector<std::string_view>& keyNames);
