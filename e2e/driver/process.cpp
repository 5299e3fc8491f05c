// Waiting, processes, paths and the scratch folders.
#include <thread>

#include "driver.h"
#include "unique.h"
#include "win_text.h"

namespace e2e {

bool WaitUntil(const std::function<bool()>& predicate, Milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (predicate()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return predicate();
        std::this_thread::sleep_for(Milliseconds(15));
    }
}

// ---------------------------------------------------------------------------------------------------------

Program::Program(Program&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)), pid_(std::exchange(other.pid_, 0)),
      error_(std::move(other.error_)) {}

Program& Program::operator=(Program&& other) noexcept {
    if (this != &other) {
        Kill();
        if (process_ != nullptr) CloseHandle(process_);
        process_ = std::exchange(other.process_, nullptr);
        pid_ = std::exchange(other.pid_, 0);
        error_ = std::move(other.error_);
    }
    return *this;
}

Program::~Program() {
    Kill();
    if (process_ != nullptr) CloseHandle(process_);
}

Program Program::Launch(const std::string& exePath, const std::string& workingFolder, const std::string& arguments) {
    Program program;
    std::wstring application = Wide(exePath);
    std::wstring commandLine = L"\"" + application + L"\"";
    if (!arguments.empty()) commandLine += L" " + Wide(arguments);
    std::wstring folder = Wide(workingFolder);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        program.error_ = "CreateProcess failed for " + exePath + " (error " + std::to_string(GetLastError()) + ")";
        return program;
    }
    CloseHandle(info.hThread);
    program.process_ = info.hProcess;
    program.pid_ = info.dwProcessId;
    // The program may bring its windows to the front, as it would when started from the shell.
    AllowSetForegroundWindow(info.dwProcessId);
    return program;
}

bool Program::IsRunning() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Program::WaitForExit(Milliseconds timeout) const {
    return process_ != nullptr && WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> Program::ExitCode() const {
    if (process_ == nullptr || IsRunning()) return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(process_, &code)) return std::nullopt;
    return code;
}

void Program::Kill() {
    if (!IsRunning()) return;
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 10000);
}

// ---------------------------------------------------------------------------------------------------------

std::string WinePath(std::string_view linuxPath) {
    std::string path = "Z:";
    for (char c : linuxPath) path.push_back(c == '/' ? '\\' : c);
    return path;
}

namespace {

bool RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (find) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(find.get(), &found));
    }
    find.reset();
    return RemoveDirectoryW(folder.c_str()) != FALSE;
}

}  // namespace

ScratchFolder::ScratchFolder(std::string_view drive) {
    static unsigned counter = 0;
    std::string base(drive);
    if (!base.empty() && base.back() != '\\') base.push_back('\\');
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::string candidate = base + "e2e_" + std::to_string(GetCurrentProcessId()) + "_" +
                                std::to_string(GetTickCount() % 100000) + "_" + std::to_string(++counter);
        if (CreateDirectoryW(Wide(candidate).c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return;
    }
}

ScratchFolder::~ScratchFolder() {
    if (!path_.empty()) RemoveTree(Wide(path_));
}

std::string ScratchFolder::operator/(std::string_view relative) const {
    std::string path = path_;
    path.push_back('\\');
    path.append(relative);
    return path;
}

std::string ScratchFolder::MakeFolder(std::string_view relative) const {
    std::string path = path_;
    std::string_view rest = relative;
    while (!rest.empty()) {
        std::size_t cut = rest.find('\\');
        path.push_back('\\');
        path.append(rest.substr(0, cut));
        CreateDirectoryW(Wide(path).c_str(), nullptr);
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
    return path;
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
    UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    return bytes;
}

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
    UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace e2e
