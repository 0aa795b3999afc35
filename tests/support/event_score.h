// Scoring the analysis on a generated cable: what it finds against what the cable holds.
#pragma once

#include "analysis/trace_events.h"
#include "support/line_family.h"

#include <cmath>
#include <vector>

namespace r470::test {

struct Score {
    int cables = 0;
    int required = 0; // reflections of a peak at least 6 times the noise
    int found = 0;    // of those, found with the right side and onset
    int missed = 0;
    int wrongSide = 0;
    int offOnset = 0;
    int falseEvents = 0;  // events that match no reflection, or a second time
    int largestAsked = 0; // cables with a clearly largest reflection
    int largestWrong = 0;
    double worstOnset = 0; // onset error over its tolerance
    double worstOnsetNs = 0;
};

inline void ScoreCable(const LineModel& m, Score& s) {
    TraceAnalysis a = AnalyseTrace(test::TraceOf(m));
    ++s.cables;
    std::vector<test::ReflectionTruth> truth;
    for (std::size_t k = 0; k < m.reflections.size(); ++k)
        truth.push_back(test::TruthOf(m, k));
    std::vector<int> matchOf(truth.size(), -1);
    for (std::size_t e = 0; e < a.events.size(); ++e) {
        bool matched = false;
        for (std::size_t k = 0; k < truth.size(); ++k) {
            if (a.events[e].peakNs >= truth[k].firstNs - m.intervalNs &&
                a.events[e].peakNs <= truth[k].lastNs + m.intervalNs && matchOf[k] < 0) {
                matchOf[k] = static_cast<int>(e);
                matched = true;
                break;
            }
        }
        if (!matched)
            ++s.falseEvents;
    }
    int biggest = -1, second = -1;
    for (std::size_t k = 0; k < truth.size(); ++k) {
        if (biggest < 0 || truth[k].peak > truth[biggest].peak) {
            second = biggest;
            biggest = static_cast<int>(k);
        } else if (second < 0 || truth[k].peak > truth[second].peak) {
            second = static_cast<int>(k);
        }
        if (truth[k].peak < 6 * m.noise)
            continue;
        ++s.required;
        if (matchOf[k] < 0) {
            ++s.missed;
            continue;
        }
        const TraceEvent& e = a.events[static_cast<std::size_t>(matchOf[k])];
        double distance = truth[k].onsetNs - m.launchStartNs;
        double error = std::abs((e.onsetNs - a.launchOnsetNs) - distance);
        double tolerance = std::max(2 * m.intervalNs, 0.01 * distance);
        bool sideOk = e.up == (truth[k].sign > 0);
        s.worstOnset = std::max(s.worstOnset, error / tolerance);
        if (!sideOk)
            ++s.wrongSide;
        else if (error > tolerance)
            ++s.offOnset;
        else
            ++s.found;
    }
    if (biggest >= 0 && truth[biggest].peak >= 6 * m.noise &&
        (second < 0 || truth[biggest].peak >= 1.25 * truth[second].peak)) {
        ++s.largestAsked;
        if (a.largest < 0 || a.largest != matchOf[biggest])
            ++s.largestWrong;
    }
}

} // namespace r470::test
