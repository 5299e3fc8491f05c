// Holds the system timer at 1 ms for as long as the owner lives. The programs' long loops sleep 1 ms per
// idle step (PumpOneMessage); at Windows' default 15.6 ms tick every such Sleep(1) would last a whole tick
// and a 999-character password would take minutes instead of seconds. Needs winmm.
#pragma once

#include <windows.h>
#include <mmsystem.h>

class FineSleepPeriod {
public:
    FineSleepPeriod() : held_(timeBeginPeriod(1) == TIMERR_NOERROR) {}
    ~FineSleepPeriod() {
        if (held_) timeEndPeriod(1);
    }
    FineSleepPeriod(const FineSleepPeriod&) = delete;
    FineSleepPeriod& operator=(const FineSleepPeriod&) = delete;

private:
    bool held_;
};
