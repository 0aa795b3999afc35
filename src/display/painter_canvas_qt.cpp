#include "display/painter_canvas_qt.h"

#include "shell/text_qt.h"

#include <QFontMetrics>
#include <cmath>
#include <cstdlib>

namespace r470 {

namespace {
QColor ToQColor(Colour c) {
    return QColor(c.r, c.g, c.b);
}
} // namespace

PainterCanvas::PainterCanvas(QPaintDevice* device, const QFont& font)
    : device_(device), font_(font) {}

PainterCanvas::~PainterCanvas() {
    Flush();
}

void PainterCanvas::SetDevice(QPaintDevice* device) {
    Flush();
    device_ = device;
}

void PainterCanvas::Flush() {
    if (painter_ && painter_->isActive())
        painter_->end();
    painter_.reset();
}

QPainter& PainterCanvas::P() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(device_);
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::TextAntialiasing, false);
        painter_->setFont(font_);
        painter_->setBrush(Qt::white);
        ApplyPen();
    }
    return *painter_;
}

void PainterCanvas::ApplyPen() {
    if (!painter_)
        return;
    QPen pen(ToQColor(pen_));
    pen.setWidth(1);
    pen.setStyle(style_ == PenStyle::Solid ? Qt::SolidLine : Qt::DashLine);
    pen.setCapStyle(Qt::SquareCap); // both ends painted; LineTo leaves out the last itself
    painter_->setPen(pen);
}

void PainterCanvas::SetPenColour(Colour c) {
    pen_ = c;
    ApplyPen();
}

void PainterCanvas::SetPenStyle(PenStyle s) {
    style_ = s;
    ApplyPen();
}

void PainterCanvas::MoveTo(int x, int y) {
    x_ = x;
    y_ = y;
}

void PainterCanvas::LineTo(int x, int y) {
    // A line covers its first point but not its last, so that lines meeting at a corner or
    // a cursor erased down to the base line leave the neighbours' pixels alone.
    int dx = x - x_, dy = y - y_;
    int steps = std::max(std::abs(dx), std::abs(dy));
    if (steps > 0) {
        double f = static_cast<double>(steps - 1) / steps;
        QPoint last(x_ + static_cast<int>(std::lround(dx * f)),
                    y_ + static_cast<int>(std::lround(dy * f)));
        P().drawLine(QPoint(x_, y_), last);
    }
    x_ = x;
    y_ = y;
}

void PainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x2 <= x1 || y2 <= y1)
        return;
    QPainter& p = P();
    p.fillRect(QRect(x1, y1, x2 - x1, y2 - y1), Qt::white);
    // The outline runs along the inside of the rectangle; right and bottom stay out.
    p.drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

void PainterCanvas::TextOut(int x, int y, const std::string& text) {
    QPainter& p = P();
    QString s = ToQ(text);
    QFontMetrics fm(font_, device_);
    QRect box(x, y, fm.horizontalAdvance(s), fm.height());
    p.fillRect(box, Qt::white);
    QPen saved = p.pen();
    p.setPen(ToQColor(fontColour_));
    p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, s);
    p.setPen(saved);
}

int PainterCanvas::TextWidth(const std::string& text) {
    return QFontMetrics(font_, device_).horizontalAdvance(ToQ(text));
}

int PainterCanvas::TextHeight(const std::string& text) {
    (void)text;
    return QFontMetrics(font_, device_).height();
}

void PainterCanvas::SetFont(const std::string& name, int pointSize, Colour c) {
    font_ = QFont(ToQ(name));
    font_.setPointSize(pointSize);
    font_.setStyleStrategy(QFont::NoAntialias);
    fontColour_ = c;
    if (painter_)
        painter_->setFont(font_);
}

} // namespace r470
