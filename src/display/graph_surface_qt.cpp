#include "display/graph_surface_qt.h"

#include <QMouseEvent>
#include <QPainter>

namespace r470 {

GraphSurface::GraphSurface(QWidget* parent) : QWidget(parent), canvas_(nullptr, font()) {
    setObjectName("Client");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
}

void GraphSurface::paintEvent(QPaintEvent*) {
    canvas_.Flush();
    QPainter p(this);
    if (!image_.isNull())
        p.drawImage(0, 0, image_);
}

void GraphSurface::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    canvas_.Flush();
    image_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image_.fill(Qt::white);
    canvas_.SetDevice(&image_);
    if (onResize)
        onResize();
    update();
}

void GraphSurface::mousePressEvent(QMouseEvent* e) {
    if (onMouseDown)
        onMouseDown(e->position().toPoint().x(), e->position().toPoint().y());
    update();
}

void GraphSurface::mouseMoveEvent(QMouseEvent* e) {
    if (onMouseMove)
        onMouseMove(e->position().toPoint().x(), e->position().toPoint().y());
    update();
}

void GraphSurface::mouseReleaseEvent(QMouseEvent*) {
    if (onMouseUp)
        onMouseUp();
    update();
}

} // namespace r470
