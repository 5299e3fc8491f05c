// The plain-file reader on any content: JoinPlainLines against a direct model of the line rules, the same
// content fed block by block as the protector reads a file, and the protector's acceptance of the text
// read, which once stored in a record must read back as the same text without its end spaces.
// The last bytes of the input choose the limit and the block size (FuzzedDataProvider takes them first).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "plain_text.h"
#include "protected_record.h"
#include "protection_rules.h"
#include "text1252.h"

namespace {

constexpr std::size_t Kept = 2049;           // the text buffer holds 2050 bytes with its zero
constexpr std::size_t LongestPassword = 50;  // what a protected file can store

// What the joiner keeps: up to 0x1A, without CRs nor the LF right after a CR, at most Kept characters and
// one more than stopAbove.
std::string Model(std::string_view content, std::size_t stopAbove) {
    const std::size_t keep = stopAbove >= Kept ? Kept : stopAbove + 1;
    std::string text;
    bool afterCr = false;
    for (char c : content) {
        if (c == '\x1A') break;
        const bool skip = c == '\r' || (c == '\n' && afterCr);
        afterCr = c == '\r';
        if (!skip) text.push_back(c);
    }
    return text.substr(0, keep);
}

std::size_t ChooseStopAbove(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange<int>(0, 3)) {
        case 0: return Kept;
        case 1: return LongestPassword;  // what the protection run reads with
        case 2: return input.ConsumeIntegralInRange<std::size_t>(0, Kept + 100);
        default: return input.ConsumeIntegral<std::size_t>();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::size_t stopAbove = ChooseStopAbove(input);
    const auto blockSize = input.ConsumeIntegralInRange<std::size_t>(1, 4096);
    const std::string content = input.ConsumeRemainingBytesAsString();

    const std::string text(JoinPlainLines(content, stopAbove).view());
    FUZZ_CHECK(text.find('\r') == std::string::npos && text.find('\x1A') == std::string::npos);
    FUZZ_CHECK(text.size() <= Kept);
    FUZZ_CHECK(stopAbove == std::numeric_limits<std::size_t>::max() || text.size() <= stopAbove + 1);
    FUZZ_CHECK(text == Model(content, stopAbove));

    // Read in blocks until the joiner has seen enough: the same text, whatever the block size.
    PlainTextJoiner joiner(stopAbove);
    for (std::size_t at = 0; at < content.size() && !joiner.Done(); at += blockSize)
        joiner.Feed(std::string_view(content).substr(at, blockSize));
    FUZZ_CHECK(joiner.Text() == text);
    if (!joiner.Done()) {
        FUZZ_CHECK(content.find('\x1A') == std::string::npos);
        FUZZ_CHECK(text.size() <= stopAbove);
    }
    if (joiner.Done()) {  // nothing more is taken
        joiner.Feed(content);
        FUZZ_CHECK(joiner.Text() == text);
    }

    // The protection run: the text read with its limit, accepted or not, and what its record gives back.
    const std::string read(JoinPlainLines(content, LongestPassword).view());
    const bool accepted = IsAcceptedPlainText(read);
    FUZZ_CHECK(accepted == (!read.empty() && read.size() <= LongestPassword && read.find('\0') == std::string::npos &&
                            read.find_first_not_of(' ') != std::string::npos));
    if (accepted) {
        ProtectedRecord record;
        FUZZ_CHECK(ChunkText(record, read, ChunkGroup::Password));
        const RecordBytes bytes = SerializeRecord(record);
        const std::string_view file(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        FUZZ_CHECK(StoredText(file, ChunkGroup::Password) == cp1252::TrimSpaces(read));
    }
    return 0;
}
