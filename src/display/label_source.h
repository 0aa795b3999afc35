// The texts the details labels show now, for pages and pictures that repeat them: the
// window reads its panel, a run without a window keeps them in a LabelBook.
#pragma once

#include "display/display.h"

#include <map>
#include <string>

namespace r470 {

class LabelSource {
  public:
    virtual ~LabelSource() = default;
    // The full text of a label as shown; "" for an unknown or hidden label.
    virtual std::string ShownLabelText(const std::string& name) const = 0;
};

// The details labels without a panel: remembers what the display sets.
class LabelBook : public DisplayHost, public LabelSource {
  public:
    void SetLabel(const std::string& name, const std::string& text, Colour colour) override {
        Entry& e = labels_[name];
        e.text = text;
        e.colour = colour;
    }
    void SetLabelVisible(const std::string& name, bool visible) override {
        labels_[name].visible = visible;
    }
    void ClearLabels() override {
        for (auto& [name, e] : labels_)
            e.text.clear();
    }
    std::string ShownLabelText(const std::string& name) const override {
        auto it = labels_.find(name);
        return it == labels_.end() || !it->second.visible ? std::string() : it->second.text;
    }

  private:
    struct Entry {
        std::string text;
        Colour colour;
        bool visible = true;
    };
    std::map<std::string, Entry> labels_;
};

} // namespace r470
