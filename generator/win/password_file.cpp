#include "password_file.h"

#include <windows.h>

#include "output_path.h"
#include "unique.h"
#include "win_text.h"

LineWrite AppendPasswordLine(const std::string& path1252, std::string_view line) {
    const std::wstring path = Wide(path1252);
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return LineWrite::Failed;
    const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
    // A name no check foresaw may still open a device: never write a password anywhere but into a file.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return LineWrite::NotADiskFile;

    LARGE_INTEGER before{};
    bool whole = SetFilePointerEx(file.get(), LARGE_INTEGER{}, &before, FILE_END);
    if (whole) {
        SecretText bytes(line);
        bytes += PasswordLineEnd;
        DWORD written = 0;
        whole = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                written == bytes.size();
        if (!whole && written > 0) {
            // Part of the line went in before the disk filled up: the file goes back to its earlier end.
            SetFilePointerEx(file.get(), before, nullptr, FILE_BEGIN);
            SetEndOfFile(file.get());
        }
    }
    file.reset();
    if (whole) return LineWrite::Written;
    if (created && before.QuadPart == 0) DeleteFileW(path.c_str());
    return LineWrite::Failed;
}

std::optional<std::string> ReadWholeWordList(const std::string& path1252) {
    UniqueFile file(CreateFileW(Wide(path1252).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    // A word list is about a megabyte; anything past 64 MB is not one.
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > (64LL << 20)) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr))
            return std::nullopt;
        if (read == 0) break;
        done += read;
    }
    bytes.resize(done);
    return bytes;
}
