#include "protected_record.h"

#include <algorithm>

#include "text1252.h"

std::int64_t EncodeChunk(std::string_view fiveCharacters) {
    std::int64_t value = 0;
    for (std::size_t i = 0; i < CharactersPerChunk; ++i) {
        unsigned char code = i < fiveCharacters.size() ? static_cast<unsigned char>(fiveCharacters[i]) : ' ';
        value = value * 1000 + code;
    }
    return value;
}

namespace {

// The codes of a chunk, most significant first: its base-1000 digits, which is what reading the zero-padded
// decimal digits in groups of three gives. 0 when the value is not one EncodeChunk can make.
std::size_t ChunkCodes(std::int64_t value, unsigned char (&codes)[CharactersPerChunk]) {
    if (value <= 0 || value > 999999999999999) return 0;  // more than 15 digits
    unsigned char reversed[CharactersPerChunk];
    std::size_t count = 0;
    for (; value > 0; value /= 1000) {
        const auto code = static_cast<int>(value % 1000);
        // Stored texts never hold code 0; a zero group would cut the text short in every C buffer.
        if (code > 255 || code == 0) {
            WipeObject(reversed);
            return 0;
        }
        reversed[count++] = static_cast<unsigned char>(code);
    }
    for (std::size_t i = 0; i < count; ++i) codes[i] = reversed[count - 1 - i];
    WipeObject(reversed);
    return count;
}

}  // namespace

std::string DecodeChunk(std::int64_t value) {
    unsigned char codes[CharactersPerChunk];
    const std::size_t count = ChunkCodes(value, codes);
    return std::string(reinterpret_cast<const char*>(codes), count);
}

void AppendDecodedChunk(std::int64_t value, SecretText& text) {
    unsigned char codes[CharactersPerChunk];
    const std::size_t count = ChunkCodes(value, codes);
    text.append(std::string_view(reinterpret_cast<const char*>(codes), count));
    WipeObject(codes);
}

bool ChunkText(ProtectedRecord& record, std::string_view text, ChunkGroup group) {
    const std::string_view trimmed = cp1252::TrimmedView(text);
    if (trimmed.empty()) return false;
    std::int64_t* chunks = record.Group(group);
    // EncodeChunk pads a short piece with spaces; pieces past the 50th character are never taken.
    for (std::size_t k = 0; k < ChunksPerGroup; ++k) {
        const std::size_t start = std::min(k * CharactersPerChunk, trimmed.size());
        chunks[k] = EncodeChunk(trimmed.substr(start, CharactersPerChunk));
    }
    return true;
}

void ClearGroup(ProtectedRecord& record, ChunkGroup group) {
    std::int64_t* chunks = record.Group(group);
    for (std::size_t k = 0; k < ChunksPerGroup; ++k) chunks[k] = 0;
}

SecretText GroupText(const ProtectedRecord& record, ChunkGroup group) {
    const std::int64_t* chunks = record.Group(group);
    SecretText text;
    text.reserve(MaxStoredLength);
    for (std::size_t k = 0; k < ChunksPerGroup; ++k) {
        if (chunks[k] > 0) AppendDecodedChunk(chunks[k], text);
    }
    return SecretText(cp1252::TrimmedView(text));
}

RecordBytes SerializeRecord(const ProtectedRecord& record) {
    RecordBytes bytes{};
    for (std::size_t f = 0; f < record.fields.size(); ++f) {
        auto value = static_cast<std::uint64_t>(record.fields[f]);
        for (std::size_t b = 0; b < 8; ++b) bytes[f * 8 + b] = static_cast<unsigned char>(value >> (8 * b));
    }
    return bytes;
}

ProtectedRecord ParseRecord(const unsigned char* bytes) {
    ProtectedRecord record;
    for (std::size_t f = 0; f < record.fields.size(); ++f) {
        std::uint64_t value = 0;
        for (std::size_t b = 0; b < 8; ++b) value |= std::uint64_t{bytes[f * 8 + b]} << (8 * b);
        record.fields[f] = static_cast<std::int64_t>(value);
    }
    return record;
}

std::optional<std::uint64_t> LastRecordOffset(std::uint64_t fileSize) {
    if (fileSize == 0 || fileSize % RecordSize != 0) return std::nullopt;
    return fileSize - RecordSize;
}

SecretText StoredText(std::string_view fileContent, ChunkGroup group) {
    auto offset = LastRecordOffset(fileContent.size());
    if (!offset) return {};
    ProtectedRecord record = ParseRecord(reinterpret_cast<const unsigned char*>(fileContent.data() + *offset));
    SecretText text = GroupText(record, group);
    WipeObject(record);
    return text;
}
