// A CompareDialogs double: answers from a script and records what each window was given.
#pragma once

#include "display/compare.h"

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace r470::test {

class ScriptedCompareDialogs : public CompareDialogs {
  public:
    // The display-mode window: each press of "&Ok" in turn; the window closes on the
    // first one the session accepts. An empty list is Cancel.
    std::deque<std::vector<DisplayChoice>> selections;
    std::vector<DisplayModeFields> shownFields;
    // The incompatibility window: the button pressed.
    std::deque<MismatchAnswer> mismatches;
    std::vector<std::string> mismatchMessages;
    std::deque<DielDifAnswer> dielDifs;
    std::deque<std::optional<int>> xAxes;
    std::vector<int> xAxisShown;
    std::deque<bool> dielDif2s;
    int dielDif2Asked = 0;
    std::vector<std::pair<std::string, std::string>> results;

    std::optional<DisplayChoice> SelectWaveforms(DisplayModeSession& session) override {
        shownFields.push_back(session.Initial());
        for (const DisplayChoice& c : Next(selections, "display mode"))
            if (session.OkClick(c))
                return c;
        return std::nullopt;
    }
    MismatchAnswer ChooseMismatch(const std::string& message,
                                  const std::function<bool()>& clearClick) override {
        mismatchMessages.push_back(message);
        MismatchAnswer a = Next(mismatches, "incompatibility");
        if (a == MismatchAnswer::ClearOthers)
            return clearClick() ? MismatchAnswer::ClearOthers : MismatchAnswer::Cancel;
        return a;
    }
    DielDifAnswer ChooseDielDif() override { return Next(dielDifs, "dielectric"); }
    std::optional<int> ChooseXAxis(int units) override {
        xAxisShown.push_back(units);
        return Next(xAxes, "X-axis");
    }
    bool ChooseDielDif2() override {
        ++dielDif2Asked;
        return Next(dielDif2s, "X-axis dielectric");
    }
    void ShowdBRL(const std::string& ratio, const std::string& dB) override {
        results.emplace_back(ratio, dB);
    }

  private:
    template <class T> static T Next(std::deque<T>& q, const char* what) {
        if (q.empty())
            throw std::logic_error(std::string("unexpected ") + what + " window");
        T v = q.front();
        q.pop_front();
        return v;
    }
};

} // namespace r470::test
