#include "instrument/slow_step.h"

namespace r470 {

SlowStepWatch::SlowStepWatch(std::chrono::milliseconds after,
                             std::function<void(const std::string&)> say)
    : after_(after), say_(std::move(say)), thread_([this] { Watch(); }) {}

SlowStepWatch::~SlowStepWatch() {
    {
        std::lock_guard<std::mutex> lock(m_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void SlowStepWatch::Step(const std::string& name) {
    {
        std::lock_guard<std::mutex> lock(m_);
        name_ = name;
        ++step_;
    }
    changed_.notify_all();
}

void SlowStepWatch::Watch() {
    std::unique_lock<std::mutex> lock(m_);
    while (!stop_) {
        if (name_.empty()) {
            changed_.wait(lock);
            continue;
        }
        const unsigned long step = step_;
        if (changed_.wait_for(lock, after_, [&] { return stop_ || step_ != step; }))
            continue;
        const std::string name = name_;
        lock.unlock();
        say_(name);
        lock.lock();
        // Said once: wait for the next step.
        changed_.wait(lock, [&] { return stop_ || step_ != step; });
    }
}

} // namespace r470
