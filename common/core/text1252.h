// Windows-1252 text: the suite keeps every text as 8-bit bytes in this code page and converts to UTF-16
// only where a control or a wide Win32 call needs it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cp1252 {

// The UTF-16 unit a Windows-1252 byte stands for. 0x80-0x9F are not Latin-1 (0x80 is the euro sign); the
// five bytes Windows leaves undefined (81, 8D, 8F, 90, 9D) map to the C1 controls of the same value, as
// MultiByteToWideChar does, so that every byte round-trips.
char16_t ToUnicode(unsigned char byte);

// The byte for a UTF-16 unit, or nothing when Windows-1252 has no such character.
std::optional<unsigned char> FromUnicode(char16_t unit);

std::u16string Widen(std::string_view text);

// Nothing when any character has no Windows-1252 byte (callers must not act on a path with '?' in it).
std::optional<std::string> NarrowExact(std::u16string_view text);

// Characters without a Windows-1252 byte become '?'; for display texts only, never for paths.
std::string NarrowLossy(std::u16string_view text);

// The same conversions into any text that takes push_back (a secret one, so that no plain copy is made).
// AppendNarrowExact stops at the first character without a byte and gives false.
template <typename Wide, typename Out>
void AppendWidened(std::string_view text, Out& out) {
    for (char c : text) out.push_back(static_cast<Wide>(ToUnicode(static_cast<unsigned char>(c))));
}
template <typename Out>
bool AppendNarrowExact(std::u16string_view text, Out& out) {
    for (char16_t unit : text) {
        auto byte = FromUnicode(unit);
        if (!byte) return false;
        out.push_back(static_cast<char>(*byte));
    }
    return true;
}
template <typename Out>
void AppendNarrowLossy(std::u16string_view text, Out& out) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t unit = text[i];
        // A surrogate pair is one character: one '?' for both halves.
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;
        }
        auto byte = FromUnicode(unit);
        out.push_back(byte ? static_cast<char>(*byte) : '?');
    }
}

// Case by the Windows-1252 letter pairs: a-z, the accented letters C0-DE/E0-FE (but for the signs D7 and
// F7), and the pairs 8A/9A (S caron), 8C/9C (OE), 8E/9E (Z caron), 9F/FF (Y diaeresis).
unsigned char ToUpper(unsigned char byte);
unsigned char ToLower(unsigned char byte);
std::string Upper(std::string_view text);
std::string Lower(std::string_view text);

// Removes spaces (code 32 only) at both ends.
std::string TrimSpaces(std::string_view text);
std::string_view TrimmedView(std::string_view text);

// The first `limit` bytes of text: what a zero-terminated buffer of limit + 1 bytes keeps.
std::string_view CutTo(std::string_view text, std::size_t limit);

}  // namespace cp1252
