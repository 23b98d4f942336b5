#pragma once

// Colours of the components as the form files store them: 32-bit values with red in the lowest
// byte (0xFF0000 is blue, 0x0000FF red), or a system colour index in the low byte with the high
// byte 0xFF. Every conversion to QColor goes through ColorToQColor.

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

// System colours: the high byte 0xFF marks an index into the system's colour table.
inline constexpr TColor SystemColorFlag = 0xFF000000;
inline constexpr TColor clBtnFace = SystemColorFlag | 15;
inline constexpr TColor clBtnShadow = SystemColorFlag | 16;
inline constexpr TColor clBtnText = SystemColorFlag | 18;
inline constexpr TColor clBtnHighlight = SystemColorFlag | 20;

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

// Each of red, green and blue divided by the factor and truncated (a factor above 1 darkens).
TColor DimColor(TColor color, double factor);

}  // namespace vardo
