// Dictionary-word mode: the word list "le.txt", the drawing of a line and of a word of a given length, and
// the letter case and accent folding of the chosen word.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "composition.h"
#include "random_source.h"

inline constexpr std::string_view WordListName = "le.txt";

// Line numbers are drawn from 1 to this, whatever the list holds.
inline constexpr int WordListLines = 88036;

// A longer line is cut to its first LongestWordLine characters (the rest of it is skipped).
inline constexpr std::size_t LongestWordLine = 122;

inline constexpr int ShortestWord = 4;
inline constexpr int LongestWord = 18;

// The first WordListLines lines of the list's bytes. A line ends at CR LF or at a lone CR (a lone LF is part
// of the line); 0x1A ends the reading like the end of the file. As a line-by-line reader sees it, the empty
// text after a final line end is not a line, but an empty file has one empty line.
std::vector<std::string> WordListLinesOf(std::string_view bytes);

// Line n (1-based) of the list, or the empty text when the list has fewer lines.
std::string ReadWordAt(const std::vector<std::string>& lines, int n);
std::string_view WordAt(const std::vector<std::string>& lines, int n);

// Reseeds from the clock, then draws a line number from 1 to WordListLines.
int RandomWordLine(RandomSource& random, const Clock& clock);

// The message of the first failing check of the dictionary mode; nothing when the values can be used.
std::optional<std::string_view> DictionaryError(int totalCount, std::string_view fileName);

enum class WordSearch { Found, NoSuchWord, Stopped };

struct WordSearchResult {
    WordSearch outcome = WordSearch::Stopped;
    SecretText word;
    int draws = 0;
};

// Draws lines with RandomWordLine until one of exactly `length` characters comes up, pumping once per draw.
// Gives NoSuchWord at once, without drawing, when no line within reach has that length (no draw could ever
// succeed), and Stopped when the pump says so (the program ends, or the caller's patience is used up).
WordSearchResult SearchWord(const std::vector<std::string>& lines, int length, RandomSource& random,
                            const Clock& clock, const Pump& pump);

// Reseeds from the clock, then for every character draws 1 (lower case) or 2 (upper case).
SecretText MixLetterCase(std::string_view word, RandomSource& random, const Clock& clock);

// The lower-case grave and acute vowels become plain vowels; nothing else changes.
SecretText FoldAccents(std::string_view word);

// The case of the chosen options, then the accent folding: in upper case an accented vowel keeps its accent.
SecretText FinishWord(std::string_view word, const GeneratorModes& modes, RandomSource& random, const Clock& clock);

// What the user is told when SearchWord gives no word: the list is unreadable or has no word of that
// length within reach, or the search ran out of time.
std::string WordListUnreadableMessage(std::string_view listPath);
std::string NoSuchWordMessage(int length);
std::string WordNotFoundInTimeMessage(int length, int seconds);
