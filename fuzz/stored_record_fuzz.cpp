// The .sclav readers on any file content: StoredText, LastRecordOffset, ParseRecord and GroupText, and
// DecodeChunk on every 8-byte field, each checked against what the record layout allows; then the first
// bytes and the texts read are written into records, which must give them back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "protected_record.h"
#include "text1252.h"

namespace {

constexpr std::size_t RecordLength = 184;  // bytes of one record
constexpr std::size_t ChunkLength = 5;     // characters of one chunk
constexpr std::size_t GroupLength = 50;    // characters of a group's ten chunks

// The chunk's text computed with arithmetic instead of decimal strings: the groups of three digits from the
// lowest up, each 1 to 255, at most five of them.
std::string ArithmeticDecode(std::int64_t value) {
    if (value <= 0 || value >= 1'000'000'000'000'000) return {};
    std::string reversed;
    for (; value > 0; value /= 1000) {
        const auto code = value % 1000;
        if (code == 0 || code > 255) return {};
        reversed.push_back(static_cast<char>(code));
    }
    return {reversed.rbegin(), reversed.rend()};
}

void CheckChunk(std::int64_t value) {
    const std::string text = DecodeChunk(value);
    FUZZ_CHECK(text == ArithmeticDecode(value));
    FUZZ_CHECK(text.size() <= ChunkLength);
    FUZZ_CHECK(text.find('\0') == std::string::npos);
    // Five characters are what EncodeChunk makes: encoding them again gives the same value.
    if (text.size() == ChunkLength) FUZZ_CHECK(EncodeChunk(text) == value);
}

// A text the readers give: short enough for a group, no zero byte, no spaces at its ends.
void CheckReadText(std::string_view text) {
    FUZZ_CHECK(text.size() <= GroupLength);
    FUZZ_CHECK(text.find('\0') == std::string_view::npos);
    FUZZ_CHECK(text == cp1252::TrimSpaces(text));
}

std::string_view Bytes(const RecordBytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);

    const auto offset = LastRecordOffset(size);
    if (size == 0 || size % RecordLength != 0) {
        FUZZ_CHECK(!offset);
    } else {
        FUZZ_CHECK(offset && *offset % RecordLength == 0 && *offset + RecordLength == size);
    }

    // Every whole record parses and serializes back to the same bytes; its groups read as valid texts.
    for (std::size_t at = 0; at + RecordLength <= size; at += RecordLength) {
        const ProtectedRecord record = ParseRecord(data + at);
        FUZZ_CHECK(Bytes(SerializeRecord(record)) == content.substr(at, RecordLength));
        CheckReadText(GroupText(record, ChunkGroup::Key));
        CheckReadText(GroupText(record, ChunkGroup::Password));
    }
    for (std::size_t at = 0; at + 8 <= size; at += 8) {
        std::uint64_t value = 0;
        for (std::size_t b = 0; b < 8; ++b) value |= std::uint64_t{data[at + b]} << (8 * b);
        CheckChunk(static_cast<std::int64_t>(value));
    }

    // The first bytes as a typed text: without a zero byte, stored into a fresh record, it reads back
    // trimmed and cut to a group's 50 characters, and the other group stays empty. So it does from the
    // file once the record is written where the writer puts it: after the whole records, over any rest.
    const std::string_view typed = content.substr(0, 64);
    if (typed.find('\0') == std::string_view::npos) {
        ProtectedRecord fresh;
        const std::string trimmed = cp1252::TrimSpaces(typed);
        FUZZ_CHECK(ChunkText(fresh, typed, ChunkGroup::Password) == !trimmed.empty());
        const std::string written =
            std::string(content.substr(0, size - size % RecordLength)) + std::string(Bytes(SerializeRecord(fresh)));
        FUZZ_CHECK(StoredText(written, ChunkGroup::Password) ==
                   cp1252::TrimSpaces(cp1252::CutTo(trimmed, GroupLength)));
        FUZZ_CHECK(StoredText(written, ChunkGroup::Key).empty());
    }

    const std::string key(StoredText(content, ChunkGroup::Key).view());
    const std::string password(StoredText(content, ChunkGroup::Password).view());
    CheckReadText(key);
    CheckReadText(password);
    if (!offset) {
        FUZZ_CHECK(key.empty() && password.empty());
        return 0;
    }
    // Only the last record counts.
    FUZZ_CHECK(StoredText(content.substr(*offset), ChunkGroup::Key) == key);
    FUZZ_CHECK(StoredText(content.substr(*offset), ChunkGroup::Password) == password);

    // The texts read, stored again (the key in the password group and the other way round), read back the
    // same; a record appended after the file's records is the one read.
    ProtectedRecord rewritten = ParseRecord(data + *offset);
    FUZZ_CHECK(ChunkText(rewritten, key, ChunkGroup::Password) == !key.empty());
    FUZZ_CHECK(ChunkText(rewritten, password, ChunkGroup::Key) == !password.empty());
    const std::string extended = std::string(content) + std::string(Bytes(SerializeRecord(rewritten)));
    if (!key.empty()) FUZZ_CHECK(StoredText(extended, ChunkGroup::Password) == key);
    if (!password.empty()) FUZZ_CHECK(StoredText(extended, ChunkGroup::Key) == password);

    ClearGroup(rewritten, ChunkGroup::Key);
    FUZZ_CHECK(GroupText(rewritten, ChunkGroup::Key).empty());
    return 0;
}
