#include "archive/filing_analysis.h"

#include "analysis/trace_events.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <vector>

namespace r470 {

namespace {

void Analyse(FilingAnalysis& a) {
    if (a.baseline)
        a.change = ChangeSinceBaseline(*a.trace, *a.baseline, &a.events);
    else
        a.events = static_cast<int>(AnalyseTrace(*a.trace).events.size());
}

// A few jobs are not worth starting a thread for.
constexpr std::size_t kPerThread = 8;

} // namespace

unsigned FilingThreads() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

void ShareAmongThreads(std::size_t count, unsigned threads,
                       const std::function<void(std::size_t)>& job,
                       const std::function<void(std::size_t)>& done) {
    const std::size_t helpers =
        std::min<std::size_t>(std::max(threads, 1u) - 1, count / kPerThread);
    std::atomic<std::size_t> next{0}, finished{0};
    std::exception_ptr failure;
    std::atomic<bool> failed{false};
    auto run = [&](bool tell) {
        for (std::size_t i; !failed && (i = next++) < count;) {
            job(i);
            std::size_t n = ++finished;
            if (tell && done)
                done(n);
        }
    };
    std::vector<std::thread> pool;
    for (std::size_t t = 0; t < helpers; ++t)
        pool.emplace_back([&] {
            try {
                run(false);
            } catch (...) {
                // Told on the calling thread, where the filing can undo its transaction.
                if (!failed.exchange(true))
                    failure = std::current_exception();
            }
        });
    try {
        run(true);
    } catch (...) {
        failed = true;
        for (std::thread& t : pool)
            t.join();
        throw;
    }
    for (std::thread& t : pool)
        t.join();
    if (failure)
        std::rethrow_exception(failure);
    if (done)
        done(count);
}

void RunFilingAnalyses(std::span<FilingAnalysis> work, unsigned threads,
                       const std::function<void(std::size_t)>& done) {
    ShareAmongThreads(
        work.size(), threads, [&](std::size_t i) { Analyse(work[i]); }, done);
}

} // namespace r470
