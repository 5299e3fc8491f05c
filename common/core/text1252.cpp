#include "text1252.h"

namespace cp1252 {
namespace {

// 0x80-0x9F; undefined positions hold the C1 control of the same value.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char16_t ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
    return byte;
}

std::optional<unsigned char> FromUnicode(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<unsigned char>(unit);
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == unit) return static_cast<unsigned char>(0x80 + i);
    }
    return std::nullopt;
}

std::u16string Widen(std::string_view text) {
    std::u16string wide;
    wide.reserve(text.size());
    AppendWidened<char16_t>(text, wide);
    return wide;
}

std::optional<std::string> NarrowExact(std::u16string_view text) {
    std::string narrow;
    narrow.reserve(text.size());
    if (!AppendNarrowExact(text, narrow)) return std::nullopt;
    return narrow;
}

std::string NarrowLossy(std::u16string_view text) {
    std::string narrow;
    narrow.reserve(text.size());
    AppendNarrowLossy(text, narrow);
    return narrow;
}

unsigned char ToUpper(unsigned char byte) {
    if (byte >= 'a' && byte <= 'z') return byte - 0x20;
    if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) return byte - 0x20;
    switch (byte) {
        case 0x9A: return 0x8A;
        case 0x9C: return 0x8C;
        case 0x9E: return 0x8E;
        case 0xFF: return 0x9F;
        default: return byte;
    }
}

unsigned char ToLower(unsigned char byte) {
    if (byte >= 'A' && byte <= 'Z') return byte + 0x20;
    if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return byte + 0x20;
    switch (byte) {
        case 0x8A: return 0x9A;
        case 0x8C: return 0x9C;
        case 0x8E: return 0x9E;
        case 0x9F: return 0xFF;
        default: return byte;
    }
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(ToUpper(static_cast<unsigned char>(c)));
    return out;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(ToLower(static_cast<unsigned char>(c)));
    return out;
}

std::string TrimSpaces(std::string_view text) { return std::string(TrimmedView(text)); }

std::string_view TrimmedView(std::string_view text) {
    auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string_view CutTo(std::string_view text, std::size_t limit) {
    return text.substr(0, limit);
}

}  // namespace cp1252
