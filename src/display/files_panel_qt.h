// The details panel at the bottom of the main window: captions and values of the current
// waveform, and the five slot buttons with their colour strips.
#pragma once

#include "display/canvas.h"
#include "display/label_source.h"

#include <QFrame>
#include <array>
#include <functional>
#include <map>
#include <string>

class QLabel;
class QPushButton;

namespace r470 {

class FilesPanel : public QFrame, public LabelSource {
    Q_OBJECT
  public:
    static constexpr int kHeight = 140;
    explicit FilesPanel(QWidget* parent = nullptr);

    QLabel* Label(const std::string& name) const;
    QPushButton* TraceButton(int slot) const {
        return buttons_.at(static_cast<std::size_t>(slot - 1));
    }
    QFrame* Strip(int slot) const { return strips_.at(static_cast<std::size_t>(slot - 1)); }

    void SetLabel(const std::string& name, const std::string& text, Colour colour);
    void SetLabelVisible(const std::string& name, bool visible);
    void ClearLabels();
    // The whole text a label was given (the panel may wrap it to fit), "" when hidden.
    std::string ShownLabelText(const std::string& name) const override;
    void SetTraceButton(int slot, const std::string& caption, Colour strip);
    void ClearTraceButton(int slot);
    // Buttons flush with the right edge, each strip just left of its button.
    void LayoutButtons();
    // Each value as wide as its text; the second column moved clear of the first, and a
    // value wrapped at the edge of its room when it cannot be (one of the first column, whose
    // rows are fixed, elided in the middle instead).
    void LayoutLabels();

    std::function<void(int slot)> onTraceButton;
    std::function<void()> onBareClick;

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    bool HasText(const std::string& name) const;
    int TextWidth(const std::string& name) const;
    // Places a value at its whole width, or wrapped or elided to room; gives the height it
    // takes.
    int PlaceValue(const std::string& name, int x, int y, int room, bool wrap);

    std::map<std::string, QLabel*> labels_;
    std::map<std::string, std::string> texts_;
    std::array<QPushButton*, 5> buttons_{};
    std::array<QFrame*, 5> strips_{};
};

} // namespace r470
