#include "display/repeat_timer_qt.h"

namespace r470 {

QtRepeatTimer::QtRepeatTimer(std::function<void()> onTick) {
    QObject::connect(&timer_, &QTimer::timeout, std::move(onTick));
}

void QtRepeatTimer::Start(int intervalMs) {
    if (!timer_.isActive())
        timer_.start(intervalMs);
}

void QtRepeatTimer::Stop() {
    timer_.stop();
}

} // namespace r470
