// A batch's analyses give the same results on any number of threads, and tell their progress
// on the calling thread only, in order, up to all of them.
#include "analysis/trace_events.h"
#include "archive/filing_analysis.h"
#include "support/archive_fixture.h"

#include <gtest/gtest.h>

#include <thread>

namespace r470 {
namespace {

using test::CableTrace;

TEST(FilingAnalysis, SameResultsOnAnyNumberOfThreads) {
    // Three cables' baselines and tests against them, some with a new fault.
    std::vector<TraceData> traces;
    for (unsigned i = 0; i < 30; ++i)
        traces.push_back(CableTrace(i + 1, i % 10 >= 7 ? 300 + 20.0 * (i / 10) : 0));
    auto work = [&] {
        std::vector<FilingAnalysis> w(traces.size());
        for (std::size_t i = 0; i < w.size(); ++i) {
            w[i].trace = &traces[i];
            w[i].baseline = i % 10 ? &traces[i - i % 10] : nullptr;
        }
        return w;
    };
    std::vector<FilingAnalysis> expected = work();
    for (FilingAnalysis& e : expected)
        if (e.baseline)
            e.change = ChangeSinceBaseline(*e.trace, *e.baseline, &e.events);
        else
            e.events = static_cast<int>(AnalyseTrace(*e.trace).events.size());
    for (unsigned threads : {1u, 2u, 5u, FilingThreads()}) {
        std::vector<FilingAnalysis> w = work();
        std::vector<std::size_t> told;
        const std::thread::id caller = std::this_thread::get_id();
        RunFilingAnalyses(w, threads, [&](std::size_t done) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            told.push_back(done);
        });
        for (std::size_t i = 0; i < w.size(); ++i) {
            EXPECT_EQ(w[i].change.kind, expected[i].change.kind) << threads << " threads, " << i;
            EXPECT_EQ(w[i].change.timeNs, expected[i].change.timeNs) << threads << ", " << i;
            EXPECT_EQ(w[i].events, expected[i].events) << threads << ", " << i;
        }
        ASSERT_FALSE(told.empty()) << threads;
        EXPECT_TRUE(std::is_sorted(told.begin(), told.end())) << threads;
        EXPECT_EQ(told.back(), w.size()) << threads;
    }
}

} // namespace
} // namespace r470
