// Names a step that is taking long: a port whose open hangs for seconds is said by name
// rather than leaving a silent console.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace r470 {

class SlowStepWatch {
  public:
    // `say` is called, on the watch's own thread, once for each step that runs past `after`.
    SlowStepWatch(std::chrono::milliseconds after, std::function<void(const std::string&)> say);
    ~SlowStepWatch();
    SlowStepWatch(const SlowStepWatch&) = delete;
    SlowStepWatch& operator=(const SlowStepWatch&) = delete;

    // A new step begins (the last one has ended); "" for none.
    void Step(const std::string& name);

  private:
    void Watch();

    std::chrono::milliseconds after_;
    std::function<void(const std::string&)> say_;
    std::mutex m_;
    std::condition_variable changed_;
    std::string name_;
    unsigned long step_ = 0;
    bool stop_ = false;
    std::thread thread_;
};

} // namespace r470
