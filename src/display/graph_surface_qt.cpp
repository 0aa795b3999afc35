#include "display/graph_surface_qt.h"

#include "display/display.h"

#include <QMouseEvent>
#include <QPainter>

namespace r470 {

GraphSurface::GraphSurface(QWidget* parent) : QWidget(parent), canvas_(nullptr, font()) {
    setObjectName("Client");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
}

void GraphSurface::paintEvent(QPaintEvent*) {
    // Moved to a screen of another density: draw again at its resolution.
    if (devicePixelRatioF() != ratio_)
        Rebuild();
    canvas_.Flush();
    QPainter p(this);
    if (image_.isNull())
        return;
    if (ratio_ == 1)
        p.drawImage(0, 0, image_);
    else // one image pixel on one device pixel
        p.drawImage(QRectF(0, 0, image_.width() / ratio_, image_.height() / ratio_), image_);
}

void GraphSurface::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    Rebuild();
    update();
}

void GraphSurface::Rebuild() {
    canvas_.Flush();
    ratio_ = devicePixelRatioF();
    QSize device(DevicePixels(width(), ratio_), DevicePixels(height(), ratio_));
    image_ = QImage(device.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image_.fill(Qt::white);
    canvas_.SetDevice(&image_);
    // Texts at the size the window's own labels have on this screen.
    QFont f = font();
    if (ratio_ != 1) {
        if (f.pointSizeF() > 0)
            f.setPointSizeF(f.pointSizeF() * ratio_);
        else
            f.setPixelSize(DevicePixels(f.pixelSize(), ratio_));
    }
    canvas_.SetQtFont(f);
    if (onResize)
        onResize();
}

QPoint GraphSurface::DevicePoint(const QMouseEvent* e) const {
    return (e->position() * ratio_).toPoint();
}

void GraphSurface::mousePressEvent(QMouseEvent* e) {
    if (onMouseDown)
        onMouseDown(DevicePoint(e).x(), DevicePoint(e).y());
    update();
}

void GraphSurface::mouseMoveEvent(QMouseEvent* e) {
    if (onMouseMove)
        onMouseMove(DevicePoint(e).x(), DevicePoint(e).y());
    update();
}

void GraphSurface::mouseReleaseEvent(QMouseEvent*) {
    if (onMouseUp)
        onMouseUp();
    update();
}

} // namespace r470
