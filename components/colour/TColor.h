#pragma once

// Colours as the form files and the skins store them: 32-bit values with red in the lowest byte
// (0xFF0000 is blue, 0x0000FF red), or a system colour: any value with the top bit set, the low
// byte being the index into the system's colour table (the forms write 0xFF000000 | index, the
// skins 0x80000000 | index). Every conversion to QColor goes through ColorToQColor.

#include <QColor>
#include <cstdint>

namespace vardo {

using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clWhite = 0xFFFFFF;

// System colours, written the forms' way.
inline constexpr TColor SystemColorFlag = 0xFF000000;
inline constexpr TColor clScrollBar = SystemColorFlag | 0;
inline constexpr TColor clMenu = SystemColorFlag | 4;
inline constexpr TColor clMenuText = SystemColorFlag | 7;
inline constexpr TColor clWindowText = SystemColorFlag | 8;
inline constexpr TColor clCaptionText = SystemColorFlag | 9;
inline constexpr TColor clHighlight = SystemColorFlag | 13;
inline constexpr TColor clHighlightText = SystemColorFlag | 14;
inline constexpr TColor clBtnFace = SystemColorFlag | 15;
inline constexpr TColor clBtnShadow = SystemColorFlag | 16;
inline constexpr TColor clBtnText = SystemColorFlag | 18;
inline constexpr TColor clInactiveCaptionText = SystemColorFlag | 19;
inline constexpr TColor clBtnHighlight = SystemColorFlag | 20;
inline constexpr TColor cl3DDkShadow = SystemColorFlag | 21;
inline constexpr TColor cl3DLight = SystemColorFlag | 22;

// Whether the colour is an index into the system's colour table (the top bit set).
constexpr bool IsSystemColor(TColor color) {
    return (color & 0x80000000u) != 0;
}

// The RGB value of a colour, with system colours resolved through the application palette.
QColor ColorToQColor(TColor color);

// The 24-bit value (red lowest) of a colour, with system colours resolved.
TColor ColorToRGB(TColor color);

// A 24-bit colour from its components (each 0..255).
constexpr TColor RGBColor(int red, int green, int blue) {
    return static_cast<TColor>(red & 0xFF) | static_cast<TColor>(green & 0xFF) << 8 |
           static_cast<TColor>(blue & 0xFF) << 16;
}
constexpr int RedOf(TColor color) {
    return static_cast<int>(color & 0xFF);
}
constexpr int GreenOf(TColor color) {
    return static_cast<int>(color >> 8 & 0xFF);
}
constexpr int BlueOf(TColor color) {
    return static_cast<int>(color >> 16 & 0xFF);
}

// The 24-bit value of a QColor (its alpha dropped).
TColor FromQColor(const QColor& color);

// Each of red, green and blue divided by the factor and truncated (a factor above 1 darkens).
TColor DimColor(TColor color, double factor);

}  // namespace vardo
