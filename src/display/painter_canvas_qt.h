// The canvas on a Qt paint device (the screen's backing image, a picture or a printer).
// The painter is opened on the first drawing call and closed by Flush, so the device can
// be shown or saved between operations.
#pragma once

#include "display/canvas.h"

#include <QFont>
#include <QPainter>
#include <memory>

namespace r470 {

class PainterCanvas : public Canvas {
  public:
    explicit PainterCanvas(QPaintDevice* device = nullptr, const QFont& font = QFont());
    ~PainterCanvas() override;
    void SetDevice(QPaintDevice* device);
    void Flush();

    void SetPenColour(Colour c) override;
    Colour PenColour() const override { return pen_; }
    void SetPenStyle(PenStyle s) override;
    PenStyle GetPenStyle() const override { return style_; }
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void TextOut(int x, int y, const std::string& text) override;
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    void SetFont(const std::string& name, int pointSize, Colour c) override;
    void SetFontColour(Colour c) override { fontColour_ = c; }
    Colour FontColour() const override { return fontColour_; }

  private:
    QPainter& P();
    void ApplyPen();

    QPaintDevice* device_;
    std::unique_ptr<QPainter> painter_;
    QFont font_;
    Colour pen_ = kBlack;
    Colour fontColour_ = kBlack;
    PenStyle style_ = PenStyle::Solid;
    int x_ = 0, y_ = 0;
};

} // namespace r470
