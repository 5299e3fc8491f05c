// The .sclav record: chunk encoding, grouping and the byte layout the writer and the readers share.
#include <gtest/gtest.h>

#include <cstring>

#include "protected_record.h"

namespace {

constexpr std::int64_t FiveSpaces = 32032032032032;

std::string FileOf(const ProtectedRecord& record) {
    RecordBytes bytes = SerializeRecord(record);
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
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
    EXPECT_EQ(record.Group(ChunkGroup::Key)[0], EncodeChunk("abc d"));
    EXPECT_EQ(GroupText(record, ChunkGroup::Key), "abc def");
}

TEST(ProtectedRecord, FiftyCharactersFillTheGroupAndMoreAreCut) {
    std::string fifty;
    for (int i = 0; i < 50; ++i) fifty.push_back(static_cast<char>('A' + i % 26));
    ProtectedRecord record;
    ASSERT_TRUE(ChunkText(record, fifty, ChunkGroup::Password));
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(record.Group(ChunkGroup::Password)[k], EncodeChunk(fifty.substr(k * 5, 5)));
    }
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
    for (int i : {0, 88, 176}) {
        for (int b = 0; b < 8; ++b) EXPECT_EQ(bytes[i + b], 0) << i + b;
    }
    std::int64_t first = EncodeChunk("clave");
    for (int b = 0; b < 8; ++b) EXPECT_EQ(bytes[8 + b], static_cast<unsigned char>(first >> (8 * b)));
    EXPECT_EQ(ParseRecord(bytes.data()).fields, record.fields);
    EXPECT_EQ(StoredText(FileOf(record), ChunkGroup::Password), "\xF1" "and\xFA");
}

TEST(ProtectedRecord, FilesThatAreNotWholeRecordsReadAsEmpty) {
    ProtectedRecord record;
    ChunkText(record, "clave", ChunkGroup::Key);
    ChunkText(record, "secreto", ChunkGroup::Password);
    std::string file = FileOf(record);
    EXPECT_EQ(StoredText(file + "x", ChunkGroup::Key), "");    // 185 bytes
    EXPECT_EQ(StoredText(file.substr(0, 100), ChunkGroup::Key), "");
    EXPECT_EQ(StoredText("", ChunkGroup::Password), "");
    EXPECT_EQ(LastRecordOffset(0), std::nullopt);
    EXPECT_EQ(LastRecordOffset(368), 184u);
}

TEST(ProtectedRecord, TwoRecordsReadAsTheSecond) {
    ProtectedRecord one, two;
    ChunkText(one, "primera", ChunkGroup::Key);
    ChunkText(one, "uno", ChunkGroup::Password);
    ChunkText(two, "segunda", ChunkGroup::Key);
    ChunkText(two, "dos", ChunkGroup::Password);
    std::string file = FileOf(one) + FileOf(two);
    EXPECT_EQ(StoredText(file, ChunkGroup::Key), "segunda");
    EXPECT_EQ(StoredText(file, ChunkGroup::Password), "dos");
}

TEST(ProtectedRecord, DamagedChunksContributeNothing) {
    ProtectedRecord record;
    ChunkText(record, "abcdefghij", ChunkGroup::Password);
    record.Group(ChunkGroup::Password)[0] = -5;
    record.Group(ChunkGroup::Password)[1] = 999999999999999;
    EXPECT_EQ(GroupText(record, ChunkGroup::Password), "");  // the rest is spaces, trimmed
    record.Group(ChunkGroup::Password)[2] = EncodeChunk("xyz  ");
    EXPECT_EQ(GroupText(record, ChunkGroup::Password), "xyz");
}
