#include "instrument/clock.h"

#include <cerrno>
#include <ctime>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace r470 {

SteadyClock::SteadyClock() {
#ifdef __linux__
    (void)::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
}

std::int64_t SteadyClock::NowUs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

void SteadyClock::SleepUntilUs(std::int64_t t) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(t / 1000000);
    ts.tv_nsec = static_cast<long>((t % 1000000) * 1000);
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

} // namespace r470
