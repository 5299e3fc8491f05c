// The .sclav record: 23 little-endian signed 64-bit integers (184 bytes) holding a key and a password as
// decimal-packed chunks. It is an encoding, not encryption: anyone who knows the layout can read both texts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "secret_text.h"

constexpr std::size_t RecordSize = 184;
constexpr std::size_t ChunksPerGroup = 10;
constexpr std::size_t CharactersPerChunk = 5;
constexpr std::size_t MaxStoredLength = ChunksPerGroup * CharactersPerChunk;  // 50

enum class ChunkGroup { Key, Password };

// Field 0, 11 and 22 are reserved and stay 0; key chunks are fields 1-10, password chunks 12-21.
struct ProtectedRecord {
    std::array<std::int64_t, 23> fields{};

    std::int64_t* Group(ChunkGroup group) { return &fields[group == ChunkGroup::Key ? 1 : 12]; }
    const std::int64_t* Group(ChunkGroup group) const {
        return &fields[group == ChunkGroup::Key ? 1 : 12];
    }
};

using RecordBytes = std::array<unsigned char, RecordSize>;

// The five character codes as three decimal digits each, read as one number: "A    " is 65032032032032.
// Exactly five characters are expected; a shorter text is padded with spaces and a longer one cut.
std::int64_t EncodeChunk(std::string_view fiveCharacters);

// The characters of a chunk, three decimal digits each after left-padding the digits to a multiple of three.
// Values EncodeChunk cannot make (0 or negative, more than 15 digits, a group above 255, a group of 000)
// decode to the empty text, so a damaged file contributes nothing instead of stray bytes.
std::string DecodeChunk(std::int64_t value);
// The same characters appended to a secret text; nothing is appended for a value DecodeChunk refuses.
void AppendDecodedChunk(std::int64_t value, SecretText& text);

// Trims the text of spaces, pads or cuts it to 50 characters and stores its ten chunks in the group, without
// copying the text. A text that is empty after trimming changes nothing and gives false.
bool ChunkText(ProtectedRecord& record, std::string_view text, ChunkGroup group);

// Sets every chunk of the group to 0, which the readers skip: the group then reads as the empty text.
void ClearGroup(ProtectedRecord& record, ChunkGroup group);

// The decoded chunks of the group, in order, trimmed of spaces.
SecretText GroupText(const ProtectedRecord& record, ChunkGroup group);

RecordBytes SerializeRecord(const ProtectedRecord& record);
ProtectedRecord ParseRecord(const unsigned char* bytes);

// Where the record the readers use begins: the last whole record. Nothing when the file holds no record or
// is not a whole number of records, which the readers take as the empty text.
std::optional<std::uint64_t> LastRecordOffset(std::uint64_t fileSize);

// What the readers give for a whole file's content: the group text of its last record, or the empty text
// when the length is 0 or not a multiple of 184.
SecretText StoredText(std::string_view fileContent, ChunkGroup group);
