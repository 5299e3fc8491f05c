// picker_probe.exe <result file> <loader|protector> [picks]
//
// Opens a small window and shows the shared folder picker over it `picks` times in a row (1 when left out),
// with the loader's or the protector's first line. The result file gets one line per pick, then one line
// with ChosenFolder(), each line ended by CR LF; the bytes are the Windows-1252 texts unchanged. A folder
// name can never hold CR or LF, so the lines cannot run together. The exit code is 0 when the file was
// written, 2 for a bad command line and 3 when the file could not be written.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "folder_picker.h"
#include "folder_prompt.h"
#include "unique.h"
#include "win_text.h"

namespace {

constexpr wchar_t ProbeClass[] = L"PickerProbe";

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

bool WriteResult(const std::wstring& path, const std::string& bytes) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 3 || argc > 4) return 2;
    std::wstring resultPath = argv[1];
    std::wstring variant = argv[2];
    int picks = argc == 4 ? _wtoi(argv[3]) : 1;
    LocalFree(argv);
    std::string_view firstLine;
    if (variant == L"loader") {
        firstLine = LoaderPickerLine;
    } else if (variant == L"protector") {
        firstLine = ProtectorPickerLine;
    } else {
        return 2;
    }
    if (picks < 1 || picks > 9) return 2;
    PickerApartment apartment;  // as the programs hold it

    WNDCLASSW cls{};
    cls.lpfnWndProc = ProbeProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = ProbeClass;
    RegisterClassW(&cls);
    HWND window = CreateWindowExW(0, ProbeClass, L"Sonda del selector", WS_OVERLAPPEDWINDOW, 40, 40, 320, 200,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 3;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);

    std::string result;
    for (int i = 0; i < picks; ++i) {
        result += PickFolder(window, firstLine).folder;
        result += "\r\n";
    }
    result += ChosenFolder();
    result += "\r\n";
    DestroyWindow(window);
    return WriteResult(resultPath, result) ? 0 : 3;
}
