#include "composition.h"

#include "text1252.h"

CharacterTables BuildCharacterTables() {
    CharacterTables tables;
    tables.SignTable = {'_', '-', '#', '$', '&', '\xBF', '?', '\xA1', '!', '@'};
    for (int i = 1; i <= 26; ++i) tables.LetterTable[i - 1] = static_cast<char>(96 + i);
    for (int i = 1; i <= 6; ++i) tables.HexTable[i - 1] = static_cast<char>(96 + i);
    return tables;
}

std::optional<std::string_view> CountsError(const PasswordCounts& counts, std::string_view fileName) {
    if (counts.TotalCount < 1) return "La cantidad de Digitos totales debe ser como minimo 1";
    if (counts.TotalCount != counts.DigitCount + counts.LetterCount + counts.SignCount)
        return "La cantidad de Numeros y/o Letras y/o Signos debe ser igual al numero de Digitos totales ";
    if (counts.PerLineCount < 1) return "La cantidad de Digitos por linea debe ser mayor o igual a 1";
    if (fileName.size() < ShortestFileName) return "Tienes que escribir un nombre de fichero";
    return std::nullopt;
}

std::optional<SecretText> PlaceClasses(PasswordCounts& counts, const GeneratorModes& modes, RandomSource& random,
                                       const Pump& pump) {
    if (counts.TotalCount < 1 || counts.DigitCount < 0 || counts.LetterCount < 0 || counts.SignCount < 0 ||
        counts.DigitCount + counts.LetterCount + counts.SignCount != counts.TotalCount)
        return std::nullopt;
    SecretText slotClass;
    slotClass.resize(static_cast<std::size_t>(counts.TotalCount), Unassigned);
    while (counts.DigitCount > 0 || counts.LetterCount > 0 || counts.SignCount > 0) {
        const int p = random.RandomInt(1, counts.TotalCount);
        if (!pump()) return std::nullopt;
        char& slot = slotClass[static_cast<std::size_t>(p - 1)];
        if (counts.DigitCount > 0 && slot == Unassigned) {
            slot = DigitSlot;
            --counts.DigitCount;
        }
        if (counts.LetterCount > 0 && slot == Unassigned) {
            slot = modes.HexLetters != 0 ? HexSlot : LetterSlot;
            --counts.LetterCount;
        }
        if (counts.SignCount > 0 && slot == Unassigned) {
            slot = SignSlot;
            --counts.SignCount;
        }
    }
    return slotClass;
}

namespace {

template <std::size_t N>
char DrawLetter(const std::array<char, N>& table, const GeneratorModes& modes, RandomSource& random) {
    const int last = static_cast<int>(N);
    if (modes.MixedMode != 0) {
        const bool lower = random.RandomInt(1, 2) == 1;
        const char letter = table[static_cast<std::size_t>(random.RandomInt(1, last) - 1)];
        return lower ? letter : static_cast<char>(cp1252::ToUpper(static_cast<unsigned char>(letter)));
    }
    const char letter = table[static_cast<std::size_t>(random.RandomInt(1, last) - 1)];
    // The options keep exactly one mode set; lower case is what a position gets otherwise, so that no
    // position is ever left out.
    if (modes.UpperMode != 0) return static_cast<char>(cp1252::ToUpper(static_cast<unsigned char>(letter)));
    return letter;
}

}  // namespace

std::optional<SecretText> ComposeCharacters(std::string_view slotClass, const GeneratorModes& modes,
                                            const CharacterTables& tables, RandomSource& random, const Pump& pump) {
    SecretText composed;
    composed.reserve(slotClass.size());
    for (char slot : slotClass) {
        if (!pump()) return std::nullopt;
        switch (slot) {
            case DigitSlot:
                composed.push_back(static_cast<char>('0' + random.RandomInt(0, 9)));
                break;
            case LetterSlot:
                composed.push_back(DrawLetter(tables.LetterTable, modes, random));
                break;
            case HexSlot:
                composed.push_back(DrawLetter(tables.HexTable, modes, random));
                break;
            case SignSlot:
                composed.push_back(tables.SignTable[static_cast<std::size_t>(random.RandomInt(1, 10) - 1)]);
                break;
            default:
                return std::nullopt;  // a position PlaceClasses did not fill
        }
    }
    return composed;
}

std::vector<SecretText> CutIntoLines(std::string_view password, int perLine) {
    std::vector<SecretText> lines;
    if (perLine < 1) return lines;
    const auto step = static_cast<std::size_t>(perLine);
    for (std::size_t start = 0; start < password.size(); start += step)
        lines.emplace_back(password.substr(start, step));
    return lines;
}
