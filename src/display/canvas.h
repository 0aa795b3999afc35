// The drawing surface every display operation draws on: the screen's backing image, a
// printer page or a picture. Pens are one pixel wide; text is written on an opaque white
// background; a rectangle leaves its right and bottom edges unpainted.
#pragma once

#include "common/cp1252.h"

#include <cstdint>
#include <string>

namespace r470 {

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Colour&) const = default;
};

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kWhite{255, 255, 255};

enum class PenStyle { Solid, Dash };

class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void SetPenColour(Colour c) = 0;
    virtual Colour PenColour() const = 0;
    virtual void SetPenStyle(PenStyle s) = 0;
    virtual PenStyle GetPenStyle() const = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // Filled white, outlined with the pen; covers x1..x2-1 and y1..y2-1.
    virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    virtual int TextWidth(const std::string& text) = 0;
    virtual int TextHeight(const std::string& text) = 0;
    virtual void SetFont(const std::string& name, int pointSize, Colour c) = 0;
    virtual void SetFontColour(Colour c) = 0;
    virtual Colour FontColour() const = 0;
    // Texts that come from outside the program's files (a name typed for a report, an
    // archive's site) are UTF-8 and may hold what Windows-1252 cannot; a canvas that draws
    // with a Unicode font keeps them whole.
    virtual void TextOutUtf8(int x, int y, const std::string& text) {
        TextOut(x, y, Utf8ToCp1252(text));
    }
    virtual int TextWidthUtf8(const std::string& text) { return TextWidth(Utf8ToCp1252(text)); }
};

} // namespace r470
