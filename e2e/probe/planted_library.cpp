// A library that stands in for a system library in a program's folder, as a download or another program
// could leave it there. Loaded, it leaves a mark: an empty file named "<its name> in <program name>" in the
// folder that PLANTED_LIBRARY_MARKS names, so a test can tell that a program ran its code.
#include <windows.h>

#include <string>

namespace {

std::wstring BaseName(HMODULE module) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    const std::wstring whole(path, length < MAX_PATH ? length : 0);
    return whole.substr(whole.find_last_of(L'\\') + 1);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t folder[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"PLANTED_LIBRARY_MARKS", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    const std::wstring mark = std::wstring(folder) + L"\\" + BaseName(self) + L" in " + BaseName(nullptr);
    HANDLE file = CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}
