#pragma once

#include "TColor.h"

#include <QList>
#include <QRgb>

#include <array>
#include <string_view>

namespace vardo {

// Where a skin gave no colour: all bits set for the element colours, 0x1FFFFFFF for the title's.
inline constexpr TColor kColourNotGiven = 0xFFFFFFFF;
inline constexpr TColor kTitleColourNotGiven = 0x1FFFFFFF;

// A colour written as three numbers (red, green, blue): the first three runs of decimal digits,
// any other character (blank, comma, minus sign) separating them; missing numbers count 0 and
// numbers above 255 count 255.
TColor ParseColourValue(std::string_view text);

// Mixes x into y at p per hundred (p < 100) or per thousand (p >= 100), rounded, per channel.
TColor Blend(TColor x, TColor y, int p);

// n colours running from a to b, both included, each channel rounded to the nearest step.
// Gradients are asked for again and again with the same few arguments while painting, so the last
// 16 tables are kept; a table is shared, not copied.
class TGradientCache {
  public:
    QList<QRgb> Gradient(int n, TColor a, TColor b);

  private:
    struct Table {
        int n = 0;
        TColor a = 0;
        TColor b = 0;
        QList<QRgb> colours;
    };
    std::array<Table, 16> ring_;
    int next_ = 0;
};

}  // namespace vardo
