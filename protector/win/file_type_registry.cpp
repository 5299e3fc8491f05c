#include "file_type_registry.h"

#include <shlobj.h>

#include <vector>

#include "file_type.h"
#include "platform.h"
#include "protector_texts.h"
#include "system_library.h"
#include "text1252.h"
#include "unique.h"
#include "win_text.h"

namespace {

// The default value of root\subkey as text, read whole whatever its length (a long program path doubled
// does not fit a small buffer, and must not make the type look unregistered).
// Kept wide: a class name Windows-1252 cannot hold must still lead to its own command.
std::wstring ReadDefaultString(HKEY root, const std::wstring& subkey) {
    UniqueKey key;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return {};
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD type = 0;
        DWORD bytes = 0;
        if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return {};
        if (type != REG_SZ && type != REG_EXPAND_SZ) return {};
        std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
        LSTATUS status = RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &got);
        if (status == ERROR_MORE_DATA) continue;  // grew between the two calls
        if (status != ERROR_SUCCESS) return {};
        data[got / sizeof(wchar_t)] = L'\0';
        return data.data();
    }
    return {};
}

std::wstring ExpandReferences(const std::wstring& text) {
    DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0) return text;
    std::vector<wchar_t> expanded(needed + 1, L'\0');
    if (ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed + 1) == 0) return text;
    return expanded.data();
}

bool WriteAll(HKEY root, const std::vector<RegistryString>& strings) {
    for (const RegistryString& s : strings) {
        if (SetRegistryString(root, s.subkey, "", s.data) != 1) return false;
    }
    return true;
}

}  // namespace

std::string QueryOpenCommand(HKEY classesRoot, std::string_view extensionWithDot) {
    std::wstring className = ReadDefaultString(classesRoot, Wide(extensionWithDot));
    if (className.empty()) return {};
    std::wstring command = ReadDefaultString(classesRoot, className + L"\\shell\\open\\command");
    if (command.empty()) return {};
    return NarrowLossy(ExpandReferences(command));
}

bool FileTypeNeedsRegistration(HKEY classesRoot, std::string_view extensionWithDot) {
    return cp1252::TrimSpaces(QueryOpenCommand(classesRoot, extensionWithDot)).empty();
}

int SetRegistryString(HKEY root, std::string_view subkey, std::string_view valueName, std::string_view data) {
    UniqueKey key;
    if (RegCreateKeyExW(root, Wide(TrimBackslashes(subkey)).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
        return 0;
    }
    std::wstring name = Wide(valueName);
    std::wstring value = Wide(data);
    DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    LSTATUS status = RegSetValueExW(key.get(), name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    return status == ERROR_SUCCESS ? 1 : 0;
}

Registration RegisterFileType(const std::vector<HKEY>& roots, std::string_view extension, int iconIndex,
                              std::string_view programPath) {
    if (extension.find('.') != std::string_view::npos) return Registration::ExtensionHasDot;
    if (programPath.empty()) return Registration::NotWritten;
    std::vector<RegistryString> strings = FileTypeStrings(extension, programPath, iconIndex);
    for (HKEY root : roots) {
        if (WriteAll(root, strings)) return Registration::Registered;
    }
    return Registration::NotWritten;
}

void EnsureFileTypeRegistered() {
    std::string extension(ProtectedExtension);
    if (!FileTypeNeedsRegistration(HKEY_CLASSES_ROOT, "." + extension)) return;

    std::vector<HKEY> roots{HKEY_CLASSES_ROOT};
    UniqueKey userClasses;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_CREATE_SUB_KEY | KEY_SET_VALUE, nullptr, userClasses.put(), nullptr) == ERROR_SUCCESS) {
        roots.push_back(userClasses.get());
    }
    // The path is stored in the registry as Windows-1252 text of at most 260 characters.
    std::string programPath = ProgramFilePath(MAX_PATH).value_or(std::string());
    Registration result = RegisterFileType(roots, extension, ProtectedIconIndex, programPath);
    if (result == Registration::Registered) {
        if (auto notify = SystemFunction<decltype(SHChangeNotify)>(L"shell32.dll", "SHChangeNotify"))
            notify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
        // Success only when the merged classes root now gives the command back, as the next start will read it.
        if (FileTypeNeedsRegistration(HKEY_CLASSES_ROOT, "." + extension)) result = Registration::NotWritten;
    }
    switch (result) {
        case Registration::Registered:
            ShowMessage(RegisteredMessage, ProgrammerTitle);
            break;
        case Registration::ExtensionHasDot:
            ShowMessage(ExtensionDotMessage, ProgrammerTitle);
            break;
        case Registration::NotWritten:
            ShowMessage(RegistrationFailedMessage, ProgrammerTitle, MB_OK | MB_ICONWARNING);
            break;
    }
}
