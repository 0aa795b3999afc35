#include "instrument/clock.h"

#include <windows.h>

#include <timeapi.h>

namespace r470 {

namespace {

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

// One timer per thread: a waitable timer is not safe to arm from two threads at once.
struct ThreadTimer {
    HANDLE h = nullptr;
    bool highResolution = false;
    ThreadTimer() {
        h = ::CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                     TIMER_ALL_ACCESS);
        highResolution = h != nullptr;
        if (!h)
            h = ::CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    }
    ~ThreadTimer() {
        if (h)
            ::CloseHandle(h);
    }
};

ThreadTimer& Timer() {
    thread_local ThreadTimer t;
    return t;
}

std::int64_t Frequency() {
    static const std::int64_t f = [] {
        LARGE_INTEGER q{};
        ::QueryPerformanceFrequency(&q);
        return static_cast<std::int64_t>(q.QuadPart);
    }();
    return f;
}

} // namespace

SteadyClock::SteadyClock() {
    // Without a high-resolution timer the system's tick (15.6 ms by default) would stretch
    // every paced millisecond: ask for 1 ms for the life of the program.
    static const bool once = [] {
        if (!Timer().highResolution)
            ::timeBeginPeriod(1);
        return true;
    }();
    (void)once;
}

std::int64_t SteadyClock::NowUs() {
    LARGE_INTEGER c{};
    ::QueryPerformanceCounter(&c);
    const std::int64_t f = Frequency();
    const std::int64_t n = static_cast<std::int64_t>(c.QuadPart);
    return n / f * 1000000 + n % f * 1000000 / f;
}

void SteadyClock::SleepUntilUs(std::int64_t t) {
    // Relative waits, re-armed until the end is reached: the timer's own absolute times run
    // on the wall clock, which the user or a time server may move.
    for (std::int64_t left = t - NowUs(); left > 0; left = t - NowUs()) {
        ThreadTimer& timer = Timer();
        if (timer.h) {
            LARGE_INTEGER due{};
            due.QuadPart = -left * 10; // 100 ns units, negative for relative
            if (::SetWaitableTimer(timer.h, &due, 0, nullptr, nullptr, FALSE) &&
                ::WaitForSingleObject(timer.h, INFINITE) == WAIT_OBJECT_0)
                continue;
        }
        // No timer to be had: whole milliseconds, at least one, so the loop never spins.
        ::Sleep(static_cast<DWORD>(left / 1000 > 0 ? left / 1000 : 1));
    }
}

} // namespace r470
