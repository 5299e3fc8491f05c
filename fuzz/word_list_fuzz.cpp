// The word-list reader on any content: WordListLinesOf against a direct model of its line rules, ReadWordAt
// inside and outside the list, a bounded SearchWord with a fake clock, and FinishWord on the lines read.
// The last bytes of the input choose the word length, the line number, the clock and the letter case
// (FuzzedDataProvider takes them first); the rest is the list's bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary.h"
#include "fuzz_check.h"
#include "text1252.h"

namespace {

constexpr std::size_t DrawnLines = 88036;  // line numbers are drawn from 1 to this
constexpr std::size_t LongestLine = 122;   // the line buffer holds 123 bytes with its zero

// Lines end at a CR and an LF right after it; 0x1A ends the list; a final line end opens no further line
// but the empty list has one empty line; at most DrawnLines lines of at most LongestLine characters.
std::vector<std::string> ModelLines(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\x1A'));
    std::vector<std::string> lines;
    std::string line;
    bool lineOpen = true;
    for (std::size_t i = 0; i < bytes.size() && lines.size() < DrawnLines; ++i) {
        if (bytes[i] == '\r') {
            lines.push_back(line.substr(0, LongestLine));
            line.clear();
            lineOpen = false;
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            line.push_back(bytes[i]);
            lineOpen = true;
        }
    }
    if (lineOpen && lines.size() < DrawnLines) lines.push_back(line.substr(0, LongestLine));
    return lines;
}

// The plain vowel of a lower-case vowel with a grave or acute accent; any other byte as it is.
unsigned char Folded(unsigned char c) {
    switch (c) {
        case 0xE1: case 0xE0: return 'a';
        case 0xE9: case 0xE8: return 'e';
        case 0xED: case 0xEC: return 'i';
        case 0xF3: case 0xF2: return 'o';
        case 0xFA: case 0xF9: return 'u';
        default: return c;
    }
}

// The letter a byte stands for whatever its case and its lower-case grave or acute accent.
unsigned char BaseLetter(unsigned char c) { return Folded(cp1252::ToLower(c)); }

void CheckFinishedWord(std::string_view word, std::string_view finished, const GeneratorModes& modes) {
    FUZZ_CHECK(finished.size() == std::min(word.size(), LongestLine));
    for (std::size_t i = 0; i < finished.size(); ++i) {
        const auto in = static_cast<unsigned char>(word[i]);
        const auto out = static_cast<unsigned char>(finished[i]);
        FUZZ_CHECK(Folded(out) == out);
        FUZZ_CHECK(BaseLetter(out) == BaseLetter(in));
        if (modes.LowerMode != 0) FUZZ_CHECK(cp1252::ToLower(out) == out);
        if (modes.UpperMode != 0) FUZZ_CHECK(cp1252::ToUpper(out) == out);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int length = input.ConsumeIntegralInRange<int>(ShortestWord, LongestWord);
    const int lineNumber = input.ConsumeIntegral<int>();
    std::int64_t clockMs = input.ConsumeIntegralInRange<std::int64_t>(0, 86'399'999);
    const int caseMode = input.ConsumeIntegralInRange<int>(0, 2);
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    const std::vector<std::string> lines = WordListLinesOf(bytes);
    FUZZ_CHECK(!lines.empty() && lines.size() <= DrawnLines);
    for (const std::string& line : lines) {
        FUZZ_CHECK(line.size() <= LongestLine);
        FUZZ_CHECK(line.find('\r') == std::string::npos && line.find('\x1A') == std::string::npos);
    }
    FUZZ_CHECK(lines == ModelLines(bytes));

    const int count = static_cast<int>(lines.size());
    for (int n : {lineNumber, 0, 1, count, count + 1, -1, INT_MIN, INT_MAX}) {
        const std::string word = ReadWordAt(lines, n);
        FUZZ_CHECK(n >= 1 && n <= count ? word == lines[static_cast<std::size_t>(n - 1)] : word.empty());
    }

    // A clock one millisecond later at every reading, and a pump that stops the search at its 32nd call.
    const Clock clock = [&clockMs] {
        const std::int64_t ms = clockMs++ % 86'400'000;
        return TimeOfDay{static_cast<int>(ms / 3'600'000), static_cast<int>(ms / 60'000 % 60),
                         static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
    };
    constexpr int PumpCalls = 32;
    int pumped = 0;
    RandomSource random;
    const int drawn = RandomWordLine(random, clock);
    FUZZ_CHECK(drawn >= 1 && drawn <= static_cast<int>(DrawnLines));
    const WordSearchResult found = SearchWord(lines, length, random, clock, [&pumped] { return ++pumped < PumpCalls; });
    const auto wanted = static_cast<std::size_t>(length);
    const bool reachable =
        std::any_of(lines.begin(), lines.end(), [wanted](const std::string& line) { return line.size() == wanted; });
    FUZZ_CHECK(found.draws == pumped);
    switch (found.outcome) {
        case WordSearch::NoSuchWord:
            FUZZ_CHECK(!reachable && found.draws == 0);
            break;
        case WordSearch::Stopped:
            FUZZ_CHECK(reachable && found.draws == PumpCalls);
            break;
        case WordSearch::Found:
            FUZZ_CHECK(found.word.size() == wanted && found.draws < PumpCalls);
            FUZZ_CHECK(std::find(lines.begin(), lines.end(), found.word) != lines.end());
            break;
    }

    GeneratorModes modes;
    modes.LowerMode = caseMode == 0;
    modes.UpperMode = caseMode == 1;
    modes.MixedMode = caseMode == 2;
    for (std::size_t i = 0; i < lines.size() && i < 4; ++i)
        CheckFinishedWord(lines[i], FinishWord(lines[i], modes, random, clock), modes);
    if (found.outcome == WordSearch::Found)
        CheckFinishedWord(found.word, FinishWord(found.word, modes, random, clock), modes);
    return 0;
}
