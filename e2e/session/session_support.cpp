#include "session_support.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "win_text.h"

namespace e2e {

std::string ScreenshotPath(std::string_view name) {
    const std::string folder = WinePath(SCREENSHOT_FOLDER_LINUX);
    CreateDirectoryW(Wide(folder).c_str(), nullptr);
    return folder + "\\" + std::string(name);
}

void Shoot(const std::string& path) {
    if (!path.empty()) EXPECT_TRUE(SaveScreenshot(path)) << path;
}

namespace {
const PlantedLibraries* planting = nullptr;
}

std::string CopyProgram(std::string_view linuxExe, const std::string& folder) {
    const std::string built = WinePath(linuxExe);
    const std::string copy = folder + built.substr(built.rfind('\\'));
    if (!CopyFileW(Wide(built).c_str(), Wide(copy).c_str(), FALSE)) {
        ADD_FAILURE() << "cannot copy " << built << " to " << folder << " (error " << GetLastError() << ")";
        return {};
    }
    if (planting != nullptr) planting->PlantBeside(folder);
    return copy;
}

PlantedLibraries::PlantedLibraries() {
    SetEnvironmentVariableW(L"PLANTED_LIBRARY_MARKS", Wide(marks_.Path()).c_str());
    planting = this;
}

PlantedLibraries::~PlantedLibraries() {
    planting = nullptr;
    SetEnvironmentVariableW(L"PLANTED_LIBRARY_MARKS", nullptr);
}

void PlantedLibraries::PlantBeside(const std::string& programFolder) const {
    // Libraries that Windows' or Wine's own libraries load by name behind the programs' calls (the shell's
    // browse dialog, COM, themes, text input, the clipboard), and the programs' own imports.
    static constexpr const char* Names[] = {
        "shcore", "uxtheme", "version", "dwmapi", "imm32", "msctf", "propsys", "cryptbase", "userenv",
        "profapi", "winmm", "oleacc", "netapi32", "wtsapi32", "dbghelp", "secur32", "sspicli", "ntmarta",
        "apphelp", "windowscodecs", "comdlg32", "oleaut32", "rpcrt4", "combase", "sechost", "setupapi",
        "bcrypt", "crypt32", "msimg32", "usp10", "gdiplus", "urlmon", "wininet", "ws2_32", "mpr", "shlwapi",
        "shell32", "ole32", "comctl32", "explorerframe", "linkinfo", "ntshrui", "cscapi", "dxgi", "d3d11",
        "textinputframework", "coremessaging", "iertutil", "srvcli", "edputil", "winsta", "powrprof"};
    const std::string planted = WinePath(PLANTED_LIBRARY_LINUX);
    for (const char* name : Names) {
        const std::string copy = programFolder + "\\" + name + ".dll";
        EXPECT_TRUE(CopyFileW(Wide(planted).c_str(), Wide(copy).c_str(), FALSE)) << copy;
    }
}

void ExpectReport(const MessageBoxView& box, std::string_view title, bool withIcon) {
    EXPECT_EQ(box.title, title) << box.text;
    EXPECT_EQ(box.hasIcon, withIcon) << box.text;
    EXPECT_EQ(box.owner, nullptr) << box.text;
    EXPECT_EQ(box.buttons.size(), 1u) << box.text;
}

std::optional<std::string> AnswerReport(DWORD pid, std::string_view title, const std::string& screenshot,
                                        Milliseconds timeout) {
    const auto box = WaitForMessageBox(pid, timeout);
    if (!box) {
        ADD_FAILURE() << "no message box titled \"" << title << "\"";
        return std::nullopt;
    }
    ExpectReport(*box, title);
    Shoot(screenshot);
    if (!AnswerMessageBox(*box)) {
        ADD_FAILURE() << "message box \"" << box->text << "\" did not close";
        return std::nullopt;
    }
    return box->text;
}

bool TypeInto(HWND field, std::string_view text) {
    auto length = [&] {
        DWORD_PTR characters = 0;
        SendMessageTimeoutW(field, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &characters);
        return characters;
    };
    return field != nullptr && BringToFront(field) && TypeText(text) &&
           WaitUntil([&] { return length() == text.size(); });
}

bool WaitIdle(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored) != 0;
}

std::optional<std::string> DefaultValue(HKEY root, const std::string& subkey) {
    wchar_t data[1024] = {};
    DWORD bytes = sizeof data - sizeof(wchar_t);
    if (RegGetValueW(root, Wide(subkey).c_str(), nullptr, RRF_RT_REG_SZ, nullptr, data, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return NarrowLossy(data);
}

void ForgetAssociation() {
    for (HKEY root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER}) {
        const std::wstring classes = root == HKEY_CURRENT_USER ? L"Software\\Classes\\" : L"";
        RegDeleteTreeW(root, (classes + L".sclav").c_str());
        RegDeleteTreeW(root, (classes + L"sclav-files").c_str());
    }
}

std::vector<MemoryCount> ProbeMemory(DWORD pid, const std::vector<std::string>& texts, std::string_view what) {
    const auto found = CountInMemory(pid, texts);
    if (!found) {
        ADD_FAILURE() << "cannot read the memory of process " << pid;
        return std::vector<MemoryCount>(texts.size());
    }
    for (std::size_t i = 0; i < found->size(); ++i)
        std::printf("memory probe, %.*s %zu: %d copies as bytes, %d as UTF-16\n", static_cast<int>(what.size()),
                    what.data(), i + 1, (*found)[i].narrow, (*found)[i].wide);
    return *found;
}

void ExpectNoCopy(const MemoryCount& count, std::string_view text) {
    EXPECT_EQ(count.narrow, 0) << text;
    EXPECT_EQ(count.wide, 0) << text;
}

}  // namespace e2e
