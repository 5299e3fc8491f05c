#include "protected_record.h"

#include "text1252.h"

std::int64_t EncodeChunk(std::string_view fiveCharacters) {
    std::int64_t value = 0;
    for (std::size_t i = 0; i < CharactersPerChunk; ++i) {
        unsigned char code = i < fiveCharacters.size() ? static_cast<unsigned char>(fiveCharacters[i]) : ' ';
        value = value * 1000 + code;
    }
    return value;
}

std::string DecodeChunk(std::int64_t value) {
    if (value <= 0) return {};
    std::string digits = std::to_string(value);
    if (digits.size() > 15) return {};
    digits.insert(0, (3 - digits.size() % 3) % 3, '0');
    std::string text;
    for (std::size_t i = 0; i < digits.size(); i += 3) {
        int code = (digits[i] - '0') * 100 + (digits[i + 1] - '0') * 10 + (digits[i + 2] - '0');
        // Stored texts never hold code 0; a zero group would cut the text short in every C buffer.
        if (code > 255 || code == 0) return {};
        text.push_back(static_cast<char>(code));
    }
    return text;
}

bool ChunkText(ProtectedRecord& record, std::string_view text, ChunkGroup group) {
    std::string trimmed = cp1252::TrimSpaces(text);
    if (trimmed.empty()) return false;
    trimmed.resize(MaxStoredLength, ' ');
    std::int64_t* chunks = record.Group(group);
    for (std::size_t k = 0; k < ChunksPerGroup; ++k) {
        chunks[k] = EncodeChunk(std::string_view(trimmed).substr(k * CharactersPerChunk, CharactersPerChunk));
    }
    return true;
}

void ClearGroup(ProtectedRecord& record, ChunkGroup group) {
    std::int64_t* chunks = record.Group(group);
    for (std::size_t k = 0; k < ChunksPerGroup; ++k) chunks[k] = 0;
}

std::string GroupText(const ProtectedRecord& record, ChunkGroup group) {
    const std::int64_t* chunks = record.Group(group);
    std::string text;
    for (std::size_t k = 0; k < ChunksPerGroup; ++k) {
        if (chunks[k] > 0) text += DecodeChunk(chunks[k]);
    }
    return cp1252::TrimSpaces(text);
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

std::string StoredText(std::string_view fileContent, ChunkGroup group) {
    auto offset = LastRecordOffset(fileContent.size());
    if (!offset) return {};
    return GroupText(ParseRecord(reinterpret_cast<const unsigned char*>(fileContent.data() + *offset)), group);
}
