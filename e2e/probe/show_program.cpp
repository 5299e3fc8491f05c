// Starts a program, waits until its main dialog shows, saves a screenshot and ends the program: the headless
// half of tools/run. A message box that comes first (Sellomar's registration notice) is captured too and
// answered. Usage: show_program <program.exe> <dialog caption> <screenshot.bmp>
#include <chrono>
#include <cstdio>
#include <string>

#include "driver.h"
#include "win_text.h"

namespace {

bool WaitForSteadyPicture(HWND window) {
    using Clock = std::chrono::steady_clock;
    e2e::ScreenImage last;
    Clock::time_point sameSince = Clock::now();
    return e2e::WaitUntil(
        [&] {
            RECT area{};
            if (!GetWindowRect(window, &area)) return false;
            e2e::ScreenImage now = e2e::CaptureScreen(area);
            if (now.pixels.empty() || now.width != last.width || now.pixels != last.pixels) {
                last = std::move(now);
                sameSince = Clock::now();
                return false;
            }
            return Clock::now() - sameSince >= e2e::Milliseconds(500);
        },
        e2e::Milliseconds(10000));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: show_program <program.exe> <dialog caption> <screenshot.bmp>\n");
        return 2;
    }
    auto program = NarrowExact(argv[1]);
    auto caption = NarrowExact(argv[2]);
    auto shot = NarrowExact(argv[3]);
    if (!program || !caption || !shot) {
        std::fprintf(stderr, "show_program: arguments must be Windows-1252 texts\n");
        return 2;
    }
    std::string folder = program->substr(0, program->find_last_of('\\'));
    e2e::Program run = e2e::Program::Launch(*program, folder);
    if (!run) {
        std::fprintf(stderr, "show_program: %s\n", run.Error().c_str());
        return 1;
    }
    HWND dialog = nullptr;
    bool shown = e2e::WaitUntil([&] {
        if (auto box = e2e::FindMessageBox(run.Pid())) {
            std::string boxShot = shot->substr(0, shot->size() - 4) + "_message.bmp";
            e2e::SaveScreenshot(boxShot);
            std::printf("message box \"%s\": %s\n", box->title.c_str(), box->text.c_str());
            e2e::AnswerMessageBox(*box);
        }
        dialog = e2e::FindTopWindow(run.Pid(), *caption);
        return dialog != nullptr;
    }, e2e::Milliseconds(20000));
    if (!shown) {
        std::fprintf(stderr, "show_program: no window \"%s\" appeared\n", caption->c_str());
        return 1;
    }
    e2e::WaitUntil([&] { return e2e::IsVisible(dialog); });
    WaitForInputIdle(run.Handle(), 5000);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    // Wine paints a dialog's children after the dialog has gone idle: the picture is taken once the dialog's
    // rectangle has shown the same pixels for half a second.
    if (!WaitForSteadyPicture(dialog)) std::fprintf(stderr, "show_program: the dialog kept changing\n");
    bool saved = e2e::SaveScreenshot(*shot);
    run.Kill();
    return saved ? 0 : 1;
}
