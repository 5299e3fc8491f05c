#include "dictionary.h"

#include <algorithm>

#include "text1252.h"

std::vector<std::string> WordListLinesOf(std::string_view bytes) {
    const std::size_t end = std::min(bytes.find('\x1A'), bytes.size());
    std::vector<std::string> lines;
    std::size_t pos = 0;
    do {
        std::size_t cr = bytes.find('\r', pos);
        if (cr > end) cr = end;
        lines.emplace_back(cp1252::CutTo(bytes.substr(pos, cr - pos), LongestWordLine));
        pos = cr;
        if (pos < end) {
            ++pos;  // the CR
            if (pos < end && bytes[pos] == '\n') ++pos;
        }
    } while (pos < end && lines.size() < static_cast<std::size_t>(WordListLines));
    return lines;
}

std::string ReadWordAt(const std::vector<std::string>& lines, int n) { return std::string(WordAt(lines, n)); }

std::string_view WordAt(const std::vector<std::string>& lines, int n) {
    if (n < 1 || static_cast<std::size_t>(n) > lines.size()) return {};
    return lines[static_cast<std::size_t>(n - 1)];
}

int RandomWordLine(RandomSource& random, const Clock& clock) {
    random.Reseed(clock());
    return random.RandomInt(1, WordListLines);
}

std::optional<std::string_view> DictionaryError(int totalCount, std::string_view fileName) {
    if (totalCount < ShortestWord || totalCount > LongestWord)
        return "La cantidad de letras de la palabra debe ser mayor o igual a 4 y menor o igual a 18 ...";
    if (fileName.size() < ShortestDictionaryFileName) return "Tienes que escribir un nombre de fichero";
    return std::nullopt;
}

WordSearchResult SearchWord(const std::vector<std::string>& lines, int length, RandomSource& random,
                            const Clock& clock, const Pump& pump) {
    WordSearchResult result;
    const auto wanted = static_cast<std::size_t>(length);
    bool reachable = false;
    for (std::size_t i = 0; i < lines.size() && i < static_cast<std::size_t>(WordListLines); ++i)
        if (lines[i].size() == wanted) reachable = true;
    if (!reachable) {
        result.outcome = WordSearch::NoSuchWord;
        return result;
    }
    for (;;) {
        // A view of the list: no copy of the drawn word is made until it is the one.
        const std::string_view word = WordAt(lines, RandomWordLine(random, clock));
        ++result.draws;
        if (!pump()) {
            result.outcome = WordSearch::Stopped;
            return result;
        }
        if (word.size() == wanted) {
            result.outcome = WordSearch::Found;
            result.word = word;
            return result;
        }
    }
}

SecretText MixLetterCase(std::string_view word, RandomSource& random, const Clock& clock) {
    random.Reseed(clock());
    SecretText mixed;
    for (char c : cp1252::CutTo(word, LongestWordLine)) {
        const auto byte = static_cast<unsigned char>(c);
        mixed.push_back(static_cast<char>(random.RandomInt(1, 2) == 1 ? cp1252::ToLower(byte) : cp1252::ToUpper(byte)));
    }
    return mixed;
}

SecretText FoldAccents(std::string_view word) {
    SecretText folded;
    for (char c : cp1252::CutTo(word, LongestWordLine)) {
        switch (static_cast<unsigned char>(c)) {
            case 0xE1: case 0xE0: c = 'a'; break;  // á à
            case 0xE9: case 0xE8: c = 'e'; break;  // é è
            case 0xED: case 0xEC: c = 'i'; break;  // í ì
            case 0xF3: case 0xF2: c = 'o'; break;  // ó ò
            case 0xFA: case 0xF9: c = 'u'; break;  // ú ù
            default: break;
        }
        folded.push_back(c);
    }
    return folded;
}

SecretText FinishWord(std::string_view word, const GeneratorModes& modes, RandomSource& random, const Clock& clock) {
    // The case is changed in place: every copy of the word is a secret one.
    SecretText cased(word);
    if (modes.LowerMode != 0)
        for (char& c : cased) c = static_cast<char>(cp1252::ToLower(static_cast<unsigned char>(c)));
    if (modes.UpperMode != 0)
        for (char& c : cased) c = static_cast<char>(cp1252::ToUpper(static_cast<unsigned char>(c)));
    if (modes.MixedMode != 0) cased = MixLetterCase(cased, random, clock);
    return FoldAccents(cased);
}

std::string WordListUnreadableMessage(std::string_view listPath) {
    return "No se puede leer la lista de palabras \"" + std::string(listPath) + "\"";
}

std::string NoSuchWordMessage(int length) {
    return "La lista de palabras le.txt no tiene ninguna palabra de " + std::to_string(length) + " letras";
}

std::string WordNotFoundInTimeMessage(int length, int seconds) {
    return "No se ha encontrado ninguna palabra de " + std::to_string(length) + " letras en " +
           std::to_string(seconds) + " segundos. Vuelve a intentarlo o elige otra cantidad de letras";
}
