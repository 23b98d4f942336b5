#pragma once

#include <QColor>
#include <QList>
#include <QRgb>

#include <array>
#include <cstdint>
#include <string_view>

namespace vardo {

// A colour as skins and their painters hold it: red + green * 256 + blue * 65536, or a system
// colour (0x80000000 | index of the system colour), or -1 / 0x1FFFFFFF where a skin gave none.
using TColor = std::int32_t;

inline constexpr TColor kColourNotGiven = -1;
inline constexpr TColor kTitleColourNotGiven = 0x1FFFFFFF;
inline constexpr TColor kMagenta = 0xFF00FF;
inline constexpr TColor kWhite = 0xFFFFFF;

// The system colours that skins fall back on, by their system index.
inline constexpr TColor clScrollBar = static_cast<TColor>(0x80000000u | 0);
inline constexpr TColor clMenu = static_cast<TColor>(0x80000000u | 4);
inline constexpr TColor clWindowText = static_cast<TColor>(0x80000000u | 8);
inline constexpr TColor clMenuText = static_cast<TColor>(0x80000000u | 7);
inline constexpr TColor clCaptionText = static_cast<TColor>(0x80000000u | 9);
inline constexpr TColor clHighlight = static_cast<TColor>(0x80000000u | 13);
inline constexpr TColor clHighlightText = static_cast<TColor>(0x80000000u | 14);
inline constexpr TColor clBtnFace = static_cast<TColor>(0x80000000u | 15);
inline constexpr TColor clBtnShadow = static_cast<TColor>(0x80000000u | 16);
inline constexpr TColor clBtnText = static_cast<TColor>(0x80000000u | 18);
inline constexpr TColor clInactiveCaptionText = static_cast<TColor>(0x80000000u | 19);
inline constexpr TColor clBtnHighlight = static_cast<TColor>(0x80000000u | 20);
inline constexpr TColor cl3DDkShadow = static_cast<TColor>(0x80000000u | 21);
inline constexpr TColor cl3DLight = static_cast<TColor>(0x80000000u | 22);

// The colour value itself: a system colour is looked up in the application's palette (the
// desktop's colours), any other value keeps its low 24 bits.
TColor ColorToRGB(TColor colour);

QColor ToQColor(TColor colour);
TColor FromQColor(const QColor& colour);

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
