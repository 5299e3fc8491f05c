#include "sleep_period.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cwchar>

// The period is held through winmm, loaded by hand: a wrong name or path would leave every 1 ms sleep a whole
// Windows tick long, which nothing under Wine would show.
TEST(FineSleepPeriod, LoadsWinmmFromTheSystemFolder) {
    { FineSleepPeriod period; }
    HMODULE winmm = GetModuleHandleW(L"winmm.dll");
    ASSERT_NE(winmm, nullptr);
    wchar_t path[MAX_PATH] = {};
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(winmm, path, MAX_PATH), 0u);
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(_wcsnicmp(path, system, length), 0) << "loaded from elsewhere";
}

// A pause that does not wait turns the long loops into busy loops. Wine makes the high-resolution timer
// whatever the flags, so the fallback for systems without it is built here on purpose.
TEST(MillisecondPause, TimerAndFallbackBothWait) {
    MillisecondPause fallback(nullptr);
    ASSERT_FALSE(fallback.HighResolution());
    for (const MillisecondPause* pause : {&fallback, &MillisecondPause::Shared()}) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 20; ++i) pause->Pause();
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(10))
            << (pause->HighResolution() ? "timer" : "Sleep(1)");
    }
}
