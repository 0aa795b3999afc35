// The main window's client area: a white backing image that the display draws on, copied
// to the screen when painted. Resizes and mouse events are handed to the owner.
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
    QImage image_;
    PainterCanvas canvas_;
};

} // namespace r470
