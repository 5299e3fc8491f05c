// Composing a password from counts of digits, letters and signs: the character tables, the checks of the
// counts, the placement of the classes, the composition in draw order and the cutting into lines.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "random_source.h"
#include "secret_text.h"

// The option state of the dialog. The dialog's callback changes it while a password is being made (the
// loops pump messages), so the composition reads it anew at every position.
struct GeneratorModes {
    int LowerMode = 1;
    int UpperMode = 0;
    int MixedMode = 0;
    int HexLetters = 0;
    int DictionaryMode = 0;
};

struct CharacterTables {
    std::array<char, 26> LetterTable{};
    std::array<char, 6> HexTable{};
    std::array<char, 10> SignTable{};
};

CharacterTables BuildCharacterTables();

struct PasswordCounts {
    std::int16_t TotalCount = 0;
    std::int16_t PerLineCount = 0;
    std::int16_t DigitCount = 0;
    std::int16_t LetterCount = 0;
    std::int16_t SignCount = 0;
};

// The file name must have at least this many characters, in the normal and in the dictionary mode.
inline constexpr std::size_t ShortestFileName = 2;
inline constexpr std::size_t ShortestDictionaryFileName = 3;

// The message of the first failing check, in the order the user is told about them; nothing when the
// counts and the name can be used.
std::optional<std::string_view> CountsError(const PasswordCounts& counts, std::string_view fileName);

// Pumps one message of the dialog; false when the run must stop (the program is ending).
using Pump = std::function<bool()>;

// Class marks of SlotClass.
inline constexpr char Unassigned = '\0';
inline constexpr char DigitSlot = 'N';
inline constexpr char LetterSlot = 'L';
inline constexpr char HexSlot = 'H';
inline constexpr char SignSlot = 'S';

// Draws positions 1..TotalCount until the digit, letter and sign counts are used up: the first DigitCount
// distinct positions drawn become digits, the next LetterCount letters (hexadecimal ones when HexLetters is
// set at the time the position is assigned), the rest signs. Entry i - 1 of the result is position i. The
// three counts are 0 afterwards. Nothing when the pump stops the run or the counts do not add up to the
// total (which would never end).
std::optional<SecretText> PlaceClasses(PasswordCounts& counts, const GeneratorModes& modes, RandomSource& random,
                                       const Pump& pump);

// One character per slot, in slot order; in mixed case the case is drawn before the letter.
std::optional<SecretText> ComposeCharacters(std::string_view slotClass, const GeneratorModes& modes,
                                            const CharacterTables& tables, RandomSource& random, const Pump& pump);

// Pieces of perLine characters (the last one shorter); perLine must be at least 1.
std::vector<SecretText> CutIntoLines(std::string_view password, int perLine);
