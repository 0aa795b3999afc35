// The canvas on a Qt paint device (the screen's backing image, a picture or a printer).
// The painter is opened on the first drawing call and closed by Flush, so the device can
// be shown or saved between operations. A device is handed over white.
#pragma once

#include "display/canvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace r470 {

class PainterCanvas : public Canvas {
  public:
    explicit PainterCanvas(QPaintDevice* device = nullptr, const QFont& font = QFont());
    ~PainterCanvas() override;
    void SetDevice(QPaintDevice* device);
    void Flush();
    // Opens the painter now, so that a device that will not be painted on (a printer whose
    // job cannot start) is known before any drawing; false then.
    bool Begin();
    // Draws what is still pending and gives the open painter (nullptr when none), for the
    // device's own steps between drawings, such as a printer's next page.
    QPainter* ActivePainter();

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
    void TextOutUtf8(int x, int y, const std::string& text) override;
    int TextWidthUtf8(const std::string& text) override;
    void SetFont(const std::string& name, int pointSize, Colour c) override;
    void SetFontColour(Colour c) override { fontColour_ = c; }
    // The font of the texts from now on, as a Qt font (the window's own, scaled).
    void SetQtFont(const QFont& font);
    Colour FontColour() const override { return fontColour_; }

  private:
    QPainter& P();
    void DrawText(int x, int y, const QString& text);
    void ApplyPen();
    // Lines are collected and drawn together: one call for a whole waveform is far cheaper
    // than one call per segment. Anything else that draws or changes the pen flushes them.
    void DrawPendingLines();
    // On an image, what has been drawn is tracked row by row, so that clearing an area to
    // white only touches pixels that are not white already: a full redraw then costs what
    // was drawn, not the size of the window.
    void MarkDirty(int x0, int y0, int x1, int y1);
    bool FillWhiteOnImage(const QRect& area);
    void PlotLine(int x0, int y0, int x1, int y1, QRgb colour);

    QPaintDevice* device_;
    std::unique_ptr<QPainter> painter_;
    QFont font_;
    Colour pen_ = kBlack;
    Colour fontColour_ = kBlack;
    PenStyle style_ = PenStyle::Solid;
    int x_ = 0, y_ = 0;
    std::vector<QLine> lines_;
    std::vector<QPoint> points_;
    const QFontMetrics& Metrics();
    std::optional<QFontMetrics> metrics_;
    QImage* image_ = nullptr;
    std::vector<std::pair<int, int>> dirty_; // per image row: first and last x drawn
};

} // namespace r470
