// The press-and-hold timer of the main window, on a QTimer.
#pragma once

#include "display/step_repeat.h"

#include <QTimer>
#include <functional>

namespace r470 {

class QtRepeatTimer : public RepeatTimer {
  public:
    explicit QtRepeatTimer(std::function<void()> onTick);
    // Switching on a running timer leaves its rhythm alone, as keyboard repeats re-press.
    void Start(int intervalMs) override;
    void Stop() override;
    bool IsActive() const { return timer_.isActive(); }

  private:
    QTimer timer_;
};

} // namespace r470
