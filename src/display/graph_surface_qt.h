// The main window's client area: a white backing image that the display draws on, copied
// to the screen when painted. The image has the screen's device pixels, so traces stay
// crisp on a high-density screen. Resizes and mouse events are handed to the owner, mouse
// positions in the image's pixels.
#pragma once

#include "display/painter_canvas_qt.h"

#include <QImage>
#include <QWidget>
#include <functional>

namespace r470 {

class GraphSurface : public QWidget {
    Q_OBJECT
  public:
    explicit GraphSurface(QWidget* parent = nullptr);
    PainterCanvas& canvas() { return canvas_; }
    const QImage& image() const { return image_; }
    // Device pixels per window pixel of the backing image.
    double PixelRatio() const { return ratio_; }

    std::function<void()> onResize;
    std::function<void(int x, int y)> onMouseDown;
    std::function<void(int x, int y)> onMouseMove;
    std::function<void()> onMouseUp;

  protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    // A new white image at the widget's size and the screen's ratio, then a full redraw.
    void Rebuild();
    QPoint DevicePoint(const QMouseEvent* e) const;

    QImage image_;
    PainterCanvas canvas_;
    double ratio_ = 1;
};

} // namespace r470
