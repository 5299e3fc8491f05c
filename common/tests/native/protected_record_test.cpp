// The .sclav record: chunk encoding, grouping and the byte layout the writer and the readers share.
#include <gtest/gtest.h>

#include "protected_record.h"

namespace {

constexpr std::int64_t FiveSpaces = 32032032032032;

std::string FileOf(const ProtectedRecord& record) {
    RecordBytes bytes = SerializeRecord(record);
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// The eight bytes at `at`, lowest first.
std::int64_t FieldAt(const RecordBytes& bytes, std::size_t at) {
    std::uint64_t value = 0;
    for (std::size_t b = 8; b-- > 0;) value = value << 8 | bytes[at + b];
    return static_cast<std::int64_t>(value);
}

}  // namespace

TEST(ProtectedRecord, EncodeChunkPacksThreeDigitsPerCharacter) {
    EXPECT_EQ(EncodeChunk("     "), FiveSpaces);
    EXPECT_EQ(EncodeChunk("abc  "), 97098099032032);
    EXPECT_EQ(EncodeChunk("A    "), 65032032032032);  // 14 digits
    EXPECT_EQ(EncodeChunk("\xFF\xFF\xFF\xFF\xFF"), 255255255255255);
    EXPECT_EQ(EncodeChunk("\xF1    "), 241032032032032);
}

TEST(ProtectedRecord, DecodeChunkRestoresLeadingZeroGroups) {
    EXPECT_EQ(DecodeChunk(97098099032032), "abc  ");
    EXPECT_EQ(DecodeChunk(65032032032032), "A    ");
    EXPECT_EQ(DecodeChunk(1001001001001), std::string(5, '\x01'));
    EXPECT_EQ(DecodeChunk(9), "\x09");
    EXPECT_EQ(DecodeChunk(65066), "AB");
}

TEST(ProtectedRecord, DecodeChunkGivesNothingForValuesTheEncoderCannotMake) {
    EXPECT_EQ(DecodeChunk(0), "");
    EXPECT_EQ(DecodeChunk(-97098099032032), "");
    EXPECT_EQ(DecodeChunk(INT64_MIN), "");
    EXPECT_EQ(DecodeChunk(INT64_MAX), "");              // 19 digits
    EXPECT_EQ(DecodeChunk(1000000000000000), "");       // 16 digits
    EXPECT_EQ(DecodeChunk(256032032032032), "");        // a group above 255
    EXPECT_EQ(DecodeChunk(97000099032032), "");         // a zero group would end a C string early
}

TEST(ProtectedRecord, EveryCodeRoundTripsInEveryPosition) {
    for (int code = 1; code < 256; ++code) {
        for (int pos = 0; pos < 5; ++pos) {
            std::string chunk = "abcde";
            chunk[pos] = static_cast<char>(code);
            ASSERT_EQ(DecodeChunk(EncodeChunk(chunk)), chunk) << code << " at " << pos;
        }
    }
}

TEST(ProtectedRecord, ShortTextIsPaddedToTenChunks) {
    ProtectedRecord record;
    ASSERT_TRUE(ChunkText(record, "abc", ChunkGroup::Password));
    const std::int64_t* chunks = record.Group(ChunkGroup::Password);
    EXPECT_EQ(chunks[0], 97098099032032);
    for (int k = 1; k < 10; ++k) EXPECT_EQ(chunks[k], FiveSpaces) << k;
    EXPECT_EQ(GroupText(record, ChunkGroup::Password), "abc");
    // The key group was not touched.
    for (int k = 0; k < 10; ++k) EXPECT_EQ(record.Group(ChunkGroup::Key)[k], 0);
}

TEST(ProtectedRecord, OuterSpacesAreTrimmedInnerKept) {
    ProtectedRecord record;
    ASSERT_TRUE(ChunkText(record, "  abc def  ", ChunkGroup::Key));
    EXPECT_EQ(record.Group(ChunkGroup::Key)[0], 97098099032100);   // "abc d"
    EXPECT_EQ(record.Group(ChunkGroup::Key)[1], 101102032032032);  // "ef   "
    EXPECT_EQ(GroupText(record, ChunkGroup::Key), "abc def");
}

TEST(ProtectedRecord, FiftyCharactersFillTheGroupAndMoreAreCut) {
    std::string fifty;
    for (int i = 0; i < 50; ++i) fifty.push_back(static_cast<char>('A' + i % 26));
    ProtectedRecord record;
    ASSERT_TRUE(ChunkText(record, fifty, ChunkGroup::Password));
    // ABCDE, FGHIJ, ... , TUVWX: no padding.
    const std::int64_t chunks[] = {65066067068069, 70071072073074, 75076077078079, 80081082083084, 85086087088089,
                                   90065066067068, 69070071072073, 74075076077078, 79080081082083, 84085086087088};
    for (int k = 0; k < 10; ++k) EXPECT_EQ(record.Group(ChunkGroup::Password)[k], chunks[k]) << k;
    EXPECT_EQ(GroupText(record, ChunkGroup::Password), fifty);
    ASSERT_TRUE(ChunkText(record, fifty + "XYZ", ChunkGroup::Password));
    EXPECT_EQ(GroupText(record, ChunkGroup::Password), fifty);
}

TEST(ProtectedRecord, BlankTextChangesNothing) {
    ProtectedRecord record;
    ASSERT_TRUE(ChunkText(record, "clave", ChunkGroup::Key));
    ProtectedRecord before = record;
    EXPECT_FALSE(ChunkText(record, "", ChunkGroup::Key));
    EXPECT_FALSE(ChunkText(record, "    ", ChunkGroup::Key));
    EXPECT_EQ(record.fields, before.fields);
    ClearGroup(record, ChunkGroup::Key);
    EXPECT_EQ(GroupText(record, ChunkGroup::Key), "");
}

TEST(ProtectedRecord, BytesAreLittleEndianWithReservedFieldsZero) {
    ProtectedRecord record;
    ChunkText(record, "clave", ChunkGroup::Key);
    ChunkText(record, "\xF1" "and\xFA", ChunkGroup::Password);
    RecordBytes bytes = SerializeRecord(record);
    ASSERT_EQ(bytes.size(), 184u);
    // "clave" is 99108097118101, 0x5A2366EC4F95.
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), std::string("\x95\x4F\xEC\x66\x23\x5A\0\0", 8));
    // Reserved at 0, 88 and 176; key chunks from 8, password chunks from 96.
    for (std::size_t at = 0; at < 184; at += 8) {
        const std::int64_t expected = at == 0 || at == 88 || at == 176 ? 0
                                      : at == 8                        ? 99108097118101
                                      : at == 96                       ? 241097110100250
                                                                       : FiveSpaces;
        EXPECT_EQ(FieldAt(bytes, at), expected) << at;
    }
    EXPECT_EQ(ParseRecord(bytes.data()).fields, record.fields);
    EXPECT_EQ(StoredText(FileOf(record), ChunkGroup::Password), "\xF1" "and\xFA");
}

TEST(ProtectedRecord, FilesReadAsTheirLastWholeRecordOrEmpty) {
    ProtectedRecord one, two;
    ChunkText(one, "primera", ChunkGroup::Key);
    ChunkText(one, "uno", ChunkGroup::Password);
    ChunkText(two, "segunda", ChunkGroup::Key);
    ChunkText(two, "dos", ChunkGroup::Password);
    const std::string file = FileOf(one);
    EXPECT_EQ(StoredText(file + "x", ChunkGroup::Key), "");  // 185 bytes
    EXPECT_EQ(StoredText(file.substr(0, 100), ChunkGroup::Key), "");
    EXPECT_EQ(StoredText("", ChunkGroup::Password), "");
    EXPECT_EQ(LastRecordOffset(0), std::nullopt);
    EXPECT_EQ(LastRecordOffset(368), 184u);
    EXPECT_EQ(StoredText(file + FileOf(two), ChunkGroup::Key), "segunda");
    EXPECT_EQ(StoredText(file + FileOf(two), ChunkGroup::Password), "dos");
}

TEST(ProtectedRecord, DamagedChunksContributeNothing) {
    ProtectedRecord record;
    ChunkText(record, "abcdefghij", ChunkGroup::Password);
    record.Group(ChunkGroup::Password)[0] = -5;
    record.Group(ChunkGroup::Password)[1] = 999999999999999;
    EXPECT_EQ(GroupText(record, ChunkGroup::Password), "");  // the rest is spaces, trimmed
    record.Group(ChunkGroup::Password)[2] = 120121122032032;  // "xyz  "
    EXPECT_EQ(GroupText(record, ChunkGroup::Password), "xyz");
}
