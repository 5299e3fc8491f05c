#include "protected_file.h"

#include <windows.h>

#include "unique.h"
#include "win_text.h"

ProtectedRecord& WriterRecord() {
    static ProtectedRecord record;
    return record;
}

void WipeWriterRecord() { WipeObject(WriterRecord()); }

bool WriteProtectedFile(const std::string& path, SecretText& key, SecretText& password, ExistingFile existing) {
    ProtectedRecord& record = WriterRecord();
    if (ChunkText(record, key, ChunkGroup::Key)) key.clear();
    if (ChunkText(record, password, ChunkGroup::Password)) {
        password.clear();
    } else {
        ClearGroup(record, ChunkGroup::Password);
    }

    std::wstring widePath = WidePath(path);
    UniqueFile file(CreateFileW(widePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                existing == ExistingFile::Refuse ? CREATE_NEW : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) return false;
    bool created = GetLastError() != ERROR_ALREADY_EXISTS;

    LARGE_INTEGER size{};
    bool written = false;
    if (GetFileSizeEx(file.get(), &size)) {
        LARGE_INTEGER offset{};
        offset.QuadPart = (size.QuadPart / static_cast<LONGLONG>(RecordSize)) * static_cast<LONGLONG>(RecordSize);
        RecordBytes bytes = SerializeRecord(record);
        DWORD done = 0;
        written = SetFilePointerEx(file.get(), offset, nullptr, FILE_BEGIN) &&
                  WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                  done == bytes.size();
        WipeObject(bytes);
    }
    file.reset();
    if (!written && created) DeleteFileW(widePath.c_str());
    return written;
}

namespace {

SecretText ReadStoredText(const std::string& path, ChunkGroup group) {
    // The readers only read: an indexer, a sync client or a virus scanner reading the file meanwhile must not
    // hide it from the load, so every kind of sharing is allowed.
    UniqueFile file(CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return {};
    // Of all the records, the last one gives the texts.
    auto offset = LastRecordOffset(static_cast<std::uint64_t>(size.QuadPart));
    if (!offset) return {};
    LARGE_INTEGER last{};
    last.QuadPart = static_cast<LONGLONG>(*offset);
    RecordBytes bytes{};
    DWORD done = 0;
    const bool read = SetFilePointerEx(file.get(), last, nullptr, FILE_BEGIN) &&
                      ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                      done == bytes.size();
    ProtectedRecord record = ParseRecord(bytes.data());
    WipeObject(bytes);
    SecretText text = read ? GroupText(record, group) : SecretText();
    WipeObject(record);
    return text;
}

}  // namespace

SecretText ReadStoredKey(const std::string& path) { return ReadStoredText(path, ChunkGroup::Key); }
SecretText ReadStoredPassword(const std::string& path) { return ReadStoredText(path, ChunkGroup::Password); }
