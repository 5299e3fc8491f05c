// Holds the system timer at 1 ms for as long as the owner lives. The programs' long loops sleep 1 ms per
// idle step (PumpOneMessage); at Windows' default 15.6 ms tick every such Sleep(1) would last a whole tick
// and a 999-character password would take minutes instead of seconds. An owner lives only while such a loop
// runs: a finer tick costs the whole system power.
//
// winmm is loaded from the system folder by the first owner, not imported: loading it is a noticeable part
// of a program's start under Wine, and a program that never runs a loop never needs it. It stays loaded.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <iterator>

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
