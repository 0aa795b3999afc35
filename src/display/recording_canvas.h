// A canvas that keeps every drawing call, for tests and for measuring the drawing code.
// Text metrics are fixed (6 pixels a character, 13 high) so layouts are predictable.
#pragma once

#include "display/canvas.h"

#include <vector>

namespace r470 {

struct CanvasCall {
    enum Kind { Line, Rect, Text, Font } kind;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Colour colour; // pen colour (lines, rectangles) or font colour (text)
    PenStyle style = PenStyle::Solid;
    std::string text; // text, or the font name
};

class RecordingCanvas : public Canvas {
  public:
    static constexpr int kCharWidth = 6;
    static constexpr int kTextHeight = 13;

    void SetPenColour(Colour c) override { pen_ = c; }
    Colour PenColour() const override { return pen_; }
    void SetPenStyle(PenStyle s) override { style_ = s; }
    PenStyle GetPenStyle() const override { return style_; }
    void MoveTo(int x, int y) override {
        x_ = x;
        y_ = y;
    }
    void LineTo(int x, int y) override {
        calls.push_back({CanvasCall::Line, x_, y_, x, y, pen_, style_, {}});
        x_ = x;
        y_ = y;
    }
    void Rectangle(int x1, int y1, int x2, int y2) override {
        calls.push_back({CanvasCall::Rect, x1, y1, x2, y2, pen_, style_, {}});
    }
    void TextOut(int x, int y, const std::string& text) override {
        calls.push_back({CanvasCall::Text, x, y, x + TextWidth(text), y + kTextHeight, font_,
                         PenStyle::Solid, text});
    }
    int TextWidth(const std::string& text) override {
        return static_cast<int>(text.size()) * kCharWidth;
    }
    int TextHeight(const std::string&) override { return kTextHeight; }
    // Kept as given, one character a code point.
    void TextOutUtf8(int x, int y, const std::string& text) override {
        calls.push_back({CanvasCall::Text, x, y, x + TextWidthUtf8(text), y + kTextHeight, font_,
                         PenStyle::Solid, text});
    }
    int TextWidthUtf8(const std::string& text) override {
        int n = 0;
        for (char c : text)
            n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        return n * kCharWidth;
    }
    void SetFont(const std::string& name, int pointSize, Colour c) override {
        font_ = c;
        calls.push_back({CanvasCall::Font, pointSize, 0, 0, 0, c, PenStyle::Solid, name});
    }
    void SetFontColour(Colour c) override { font_ = c; }
    Colour FontColour() const override { return font_; }

    std::vector<CanvasCall> Of(CanvasCall::Kind kind) const {
        std::vector<CanvasCall> out;
        for (const auto& c : calls)
            if (c.kind == kind)
                out.push_back(c);
        return out;
    }

    std::vector<CanvasCall> calls;

  private:
    Colour pen_ = kBlack;
    Colour font_ = kBlack;
    PenStyle style_ = PenStyle::Solid;
    int x_ = 0, y_ = 0;
};

} // namespace r470
