// The 1 ms pauses of the programs' long loops, and the system timer held at 1 ms while they run.
//
// FineSleepPeriod holds the system timer at 1 ms for as long as the owner lives. The programs' long loops
// pause 1 ms per idle step (PumpOneMessage); at Windows' default 15.6 ms tick a Sleep(1) would last a whole
// tick and a 999-character password would take minutes instead of seconds. An owner lives only while such a
// loop runs: a finer tick costs the whole system power.
//
// winmm is loaded from the system folder by the first owner, not imported: loading it is a noticeable part
// of a program's start under Wine, and a program that never runs a loop never needs it. It stays loaded.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <iterator>

// Debian 12's MinGW headers lack it (Windows 10 1803 and later accept it).
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

class FineSleepPeriod {
public:
    FineSleepPeriod() : held_(Call("timeBeginPeriod")) {}
    ~FineSleepPeriod() {
        if (held_) Call("timeEndPeriod");
    }
    FineSleepPeriod(const FineSleepPeriod&) = delete;
    FineSleepPeriod& operator=(const FineSleepPeriod&) = delete;

private:
    using PeriodProc = UINT(WINAPI*)(UINT);

    static HMODULE Winmm() {
        static const HMODULE library = [] {
            // Static, so the name stays in the program as text: the package check looks for it there.
            static constexpr wchar_t name[] = L"\\winmm.dll";
            wchar_t path[MAX_PATH];
            const UINT length = GetSystemDirectoryW(path, MAX_PATH);
            if (length == 0 || length + std::size(name) > MAX_PATH) return HMODULE{};
            lstrcpyW(path + length, name);
            return LoadLibraryW(path);
        }();
        return library;
    }

    static bool Call(const char* name) {
        HMODULE library = Winmm();
        if (library == nullptr) return false;
        auto proc = reinterpret_cast<PeriodProc>(reinterpret_cast<void*>(GetProcAddress(library, name)));
        return proc != nullptr && proc(1) == TIMERR_NOERROR;
    }

    bool held_;
};

// The long loops' 1 ms pause. Windows 11 does not honour the 1 ms period for a process whose windows are all
// minimised or covered, so Sleep(1) there lasts a whole tick (15.6 ms) while the user works elsewhere; a
// high-resolution waitable timer keeps to 1 ms. Where the system cannot make one (before Windows 10 1803), the
// pause is Sleep(1) with the period held. The period stays held either way: it also sets how finely the clock
// that the dictionary mode reseeds from moves.
class MillisecondPause {
public:
    // The programs' one pause, made at its first use.
    static MillisecondPause& Shared() {
        static MillisecondPause pause(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                                             TIMER_ALL_ACCESS));
        return pause;
    }

    // Pauses with the timer, or with Sleep(1) when `timer` is null.
    explicit MillisecondPause(HANDLE timer) : timer_(timer) {}
    ~MillisecondPause() {
        if (timer_ != nullptr) CloseHandle(timer_);
    }
    MillisecondPause(const MillisecondPause&) = delete;
    MillisecondPause& operator=(const MillisecondPause&) = delete;

    bool HighResolution() const { return timer_ != nullptr; }

    void Pause() const {
        LARGE_INTEGER due;
        due.QuadPart = -10000;  // 1 ms from now, in 100 ns units
        if (timer_ != nullptr && SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE) &&
            WaitForSingleObject(timer_, INFINITE) == WAIT_OBJECT_0)
            return;
        Sleep(1);
    }

private:
    HANDLE timer_;
};
