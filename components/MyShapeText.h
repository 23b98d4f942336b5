#pragma once

// The text helpers of the shape control: fields of separated texts, font and colour specs, and
// the fitted, outlined text every shape draws its labels with.

#include "MyShape.h"
#include "ShapeCanvas.h"

#include <QString>

namespace vardo {

// 0 for an empty text, else 1 plus the occurrences of `separator`, found left to right without
// overlap.
int FieldCount(const QString& text, const QString& separator);

// Field `n`, counted from 1; empty when `n` is outside 1..FieldCount.
QString FieldAt(const QString& text, const QString& separator, int n);

// "name;size;red;green;blue;style;" with the style "fsBold," and/or "fsItalic".
QString FontToSpec(const TextFont& font);

// The reverse of FontToSpec; an empty name gives "黑体", a size that is not a number 22 and
// missing colour components red (255, 0, 0).
void SpecToFont(const QString& spec, TextFont& font);

// "red;green;blue"; each missing or non-numeric component is 255.
TColor SpecToColor(const QString& spec);

// Draws `text` outlined in a dark colour, aligned in `rect` and centred vertically. Unless
// `keepSize`, the canvas font shrinks point by point (not below 2, once at least) until the text
// fits; the lowered size stays on the canvas. With `box` the rectangle is outlined with the pen.
void DrawFittedText(const QString& text, TMyShape::TTextAlign align, ShapeCanvas& canvas,
                    bool keepSize, bool box, const TRect& rect);

}  // namespace vardo
