#include "sleep_period.h"

#include <gtest/gtest.h>
#include <windows.h>

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
