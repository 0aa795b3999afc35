#include "display/painter_canvas_qt.h"

#include "shell/text_qt.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace r470 {

namespace {
QColor ToQColor(Colour c) {
    return QColor(c.r, c.g, c.b);
}
} // namespace

PainterCanvas::PainterCanvas(QPaintDevice* device, const QFont& font)
    : device_(nullptr), font_(font) {
    SetDevice(device);
}

PainterCanvas::~PainterCanvas() {
    Flush();
}

void PainterCanvas::SetDevice(QPaintDevice* device) {
    Flush();
    device_ = device;
    metrics_.reset();
    image_ = nullptr;
    dirty_.clear();
    if (device && device->devType() == QInternal::Image) {
        auto* image = static_cast<QImage*>(device);
        if (image->depth() == 32) {
            image_ = image;
            dirty_.assign(static_cast<std::size_t>(image->height()), {1, 0});
        }
    }
}

void PainterCanvas::MarkDirty(int x0, int y0, int x1, int y1) {
    if (!image_)
        return;
    if (x0 > x1)
        std::swap(x0, x1);
    if (y0 > y1)
        std::swap(y0, y1);
    y0 = std::max(y0 - 1, 0); // a pixel of slack for the rasteriser's rounding
    y1 = std::min(y1 + 1, static_cast<int>(dirty_.size()) - 1);
    for (int y = y0; y <= y1; ++y) {
        auto& span = dirty_[static_cast<std::size_t>(y)];
        if (span.first > span.second) {
            span = {x0 - 1, x1 + 1};
        } else {
            span.first = std::min(span.first, x0 - 1);
            span.second = std::max(span.second, x1 + 1);
        }
    }
}

void PainterCanvas::PlotLine(int x0, int y0, int x1, int y1, QRgb colour) {
    // Bresenham, both ends included (the caller has already left out a line's last point).
    const int w = image_->width(), h = image_->height();
    // One detach check per line, not one per pixel as scanLine() would make.
    uchar* bits = image_->bits();
    const qsizetype stride = image_->bytesPerLine();
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        if (x0 >= 0 && x0 < w && y0 >= 0 && y0 < h)
            reinterpret_cast<QRgb*>(bits + y0 * stride)[x0] = colour;
        if (x0 == x1 && y0 == y1)
            break;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

bool PainterCanvas::FillWhiteOnImage(const QRect& area) {
    if (!image_)
        return false;
    QRect a = area.intersected(image_->rect());
    for (int y = a.top(); y <= a.bottom(); ++y) {
        auto& span = dirty_[static_cast<std::size_t>(y)];
        int from = std::max(span.first, a.left());
        int to = std::min(span.second, a.right());
        if (from > to)
            continue;
        auto* row = reinterpret_cast<QRgb*>(image_->scanLine(y));
        std::fill(row + from, row + to + 1, qRgb(255, 255, 255));
        if (a.left() <= span.first && a.right() >= span.second)
            span = {1, 0};
        else if (a.left() <= span.first)
            span.first = a.right() + 1;
        else if (a.right() >= span.second)
            span.second = a.left() - 1;
    }
    return true;
}

void PainterCanvas::DrawPendingLines() {
    if (lines_.empty() && points_.empty())
        return;
    for (const QLine& l : lines_)
        MarkDirty(l.x1(), l.y1(), l.x2(), l.y2());
    for (const QPoint& pt : points_)
        MarkDirty(pt.x(), pt.y(), pt.x(), pt.y());
    if (image_ && style_ == PenStyle::Solid) {
        // Solid one-pixel lines on our own image are plotted directly: a waveform is
        // thousands of tiny segments and the painter's cost per segment dominates a redraw.
        QRgb c = qRgb(pen_.r, pen_.g, pen_.b);
        for (const QLine& l : lines_)
            PlotLine(l.x1(), l.y1(), l.x2(), l.y2(), c);
        for (const QPoint& pt : points_)
            PlotLine(pt.x(), pt.y(), pt.x(), pt.y(), c);
    } else {
        QPainter& p = P();
        if (!lines_.empty())
            p.drawLines(lines_.data(), static_cast<int>(lines_.size()));
        if (!points_.empty())
            p.drawPoints(points_.data(), static_cast<int>(points_.size()));
    }
    lines_.clear();
    points_.clear();
}

void PainterCanvas::Flush() {
    DrawPendingLines();
    if (painter_ && painter_->isActive())
        painter_->end();
    painter_.reset();
}

bool PainterCanvas::Begin() {
    return device_ && P().isActive();
}

QPainter* PainterCanvas::ActivePainter() {
    DrawPendingLines();
    return painter_ && painter_->isActive() ? painter_.get() : nullptr;
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
    DrawPendingLines();
    QPen pen(ToQColor(pen_));
    pen.setWidth(1);
    pen.setStyle(style_ == PenStyle::Solid ? Qt::SolidLine : Qt::DashLine);
    pen.setCapStyle(Qt::SquareCap); // both ends painted; LineTo leaves out the last itself
    painter_->setPen(pen);
}

void PainterCanvas::SetPenColour(Colour c) {
    DrawPendingLines(); // they were drawn with the pen they had
    pen_ = c;
    ApplyPen();
}

void PainterCanvas::SetPenStyle(PenStyle s) {
    DrawPendingLines();
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
        P(); // the pen is set when the painter opens
        // One step short of the end along the line, rounded half away from zero.
        auto back = [steps](int d) {
            long num = 2L * d * (steps - 1);
            return static_cast<int>((num + (num < 0 ? -steps : steps)) / (2L * steps));
        };
        QPoint last(x_ + back(dx), y_ + back(dy));
        if (last == QPoint(x_, y_))
            points_.push_back(last);
        else
            lines_.emplace_back(QPoint(x_, y_), last);
    }
    x_ = x;
    y_ = y;
}

void PainterCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x2 <= x1 || y2 <= y1)
        return;
    DrawPendingLines();
    QRect area(x1, y1, x2 - x1, y2 - y1);
    QPainter& p = P();
    if (!FillWhiteOnImage(area))
        p.fillRect(area, Qt::white);
    if (pen_ == kWhite)
        return; // a white outline on a white fill changes nothing
    // The outline runs along the inside of the rectangle; right and bottom stay out.
    p.drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
    MarkDirty(x1, y1, x2 - 1, y2 - 1);
}

void PainterCanvas::TextOut(int x, int y, const std::string& text) {
    DrawText(x, y, ToQ(text));
}

void PainterCanvas::TextOutUtf8(int x, int y, const std::string& text) {
    DrawText(x, y, QString::fromUtf8(text));
}

int PainterCanvas::TextWidthUtf8(const std::string& text) {
    return Metrics().horizontalAdvance(QString::fromUtf8(text));
}

void PainterCanvas::DrawText(int x, int y, const QString& s) {
    DrawPendingLines();
    QPainter& p = P();
    const QFontMetrics& fm = Metrics();
    QRect box(x, y, fm.horizontalAdvance(s), fm.height());
    p.fillRect(box, Qt::white);
    MarkDirty(box.left(), box.top(), box.right(), box.bottom());
    QPen saved = p.pen();
    p.setPen(ToQColor(fontColour_));
    p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, s);
    p.setPen(saved);
}

const QFontMetrics& PainterCanvas::Metrics() {
    if (!metrics_)
        metrics_.emplace(font_, device_);
    return *metrics_;
}

int PainterCanvas::TextWidth(const std::string& text) {
    return Metrics().horizontalAdvance(ToQ(text));
}

int PainterCanvas::TextHeight(const std::string& text) {
    (void)text;
    return Metrics().height();
}

void PainterCanvas::SetQtFont(const QFont& font) {
    DrawPendingLines();
    font_ = font;
    metrics_.reset();
    if (painter_)
        painter_->setFont(font_);
}

void PainterCanvas::SetFont(const std::string& name, int pointSize, Colour c) {
    font_ = QFont(ToQ(name));
    font_.setPointSize(pointSize);
    font_.setStyleStrategy(QFont::NoAntialias);
    metrics_.reset();
    fontColour_ = c;
    if (painter_)
        painter_->setFont(font_);
}

} // namespace r470
