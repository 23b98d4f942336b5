#include "TColor.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

namespace vardo {

namespace {

// The system colour indexes the components and the skins use, mapped to the nearest palette role;
// any other index falls back to the button face. Without a GUI application (the skin tools) a
// plain light grey palette stands in for the desktop's.
QColor SystemColor(int index) {
    const QPalette palette = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                 ? QGuiApplication::palette()
                                 : QPalette(Qt::lightGray);
    switch (index) {
        case 4:  // menu
            return palette.color(QPalette::Window);
        case 5:  // window
            return palette.color(QPalette::Base);
        case 7:   // menu text
        case 8:   // window text
        case 18:  // button text
            return palette.color(QPalette::WindowText);
        case 13:  // highlight
            return palette.color(QPalette::Highlight);
        case 9:   // caption text
        case 14:  // highlight text
            return palette.color(QPalette::HighlightedText);
        case 0:   // scroll bar
        case 16:  // button shadow
            return palette.color(QPalette::Mid);
        case 17:  // grey text
        case 19:  // inactive caption text
            return palette.color(QPalette::Disabled, QPalette::WindowText);
        case 20:  // button highlight
            return palette.color(QPalette::Light);
        case 21:  // 3D dark shadow
            return palette.color(QPalette::Shadow);
        case 22:  // 3D light
            return palette.color(QPalette::Midlight);
        case 23:  // tooltip text
            return palette.color(QPalette::ToolTipText);
        case 24:  // tooltip background
            return palette.color(QPalette::ToolTipBase);
        default:  // button face and the rest
            return palette.color(QPalette::Button);
    }
}

}  // namespace

QColor ColorToQColor(TColor color) {
    if (IsSystemColor(color)) {
        return SystemColor(static_cast<int>(color & 0xFF));
    }
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

TColor ColorToRGB(TColor color) {
    return FromQColor(ColorToQColor(color));
}

TColor FromQColor(const QColor& color) {
    return RGBColor(color.red(), color.green(), color.blue());
}

TColor DimColor(TColor color, double factor) {
    const TColor rgb = ColorToRGB(color);
    // A factor below 1 would brighten past 255; the value saturates instead of wrapping.
    const auto dim = [factor](int component) {
        return std::clamp(static_cast<int>(component / factor), 0, 255);
    };
    return RGBColor(dim(RedOf(rgb)), dim(GreenOf(rgb)), dim(BlueOf(rgb)));
}

}  // namespace vardo
