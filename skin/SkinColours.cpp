#include "SkinColours.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

namespace vardo {
namespace {

struct SystemColour {
    int index;
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The desktop's palette roles that stand for the system colours skins fall back on.
constexpr SystemColour kSystemColours[] = {
    {0, QPalette::Active, QPalette::Mid},               // scroll bar
    {4, QPalette::Active, QPalette::Window},            // menu
    {7, QPalette::Active, QPalette::WindowText},        // menu text
    {8, QPalette::Active, QPalette::WindowText},        // window text
    {9, QPalette::Active, QPalette::HighlightedText},   // caption text
    {13, QPalette::Active, QPalette::Highlight},        // highlight
    {14, QPalette::Active, QPalette::HighlightedText},  // highlight text
    {15, QPalette::Active, QPalette::Button},           // button face
    {16, QPalette::Active, QPalette::Dark},             // button shadow
    {18, QPalette::Active, QPalette::ButtonText},       // button text
    {19, QPalette::Disabled, QPalette::WindowText},     // inactive caption text
    {20, QPalette::Active, QPalette::Light},            // 3-D highlight
    {21, QPalette::Active, QPalette::Shadow},           // 3-D dark shadow
    {22, QPalette::Active, QPalette::Midlight},         // 3-D light
};

int Red(TColor c) {
    return c & 0xFF;
}
int Green(TColor c) {
    return (c >> 8) & 0xFF;
}
int Blue(TColor c) {
    return (c >> 16) & 0xFF;
}
TColor Rgb(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}

}  // namespace

TColor ColorToRGB(TColor colour) {
    if ((static_cast<std::uint32_t>(colour) & 0xFF000000u) != 0x80000000u) {
        return colour & 0xFFFFFF;
    }
    const int index = colour & 0xFF;
    for (const SystemColour& system : kSystemColours) {
        if (system.index == index) {
            const QPalette palette = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                         ? QGuiApplication::palette()
                                         : QPalette(Qt::lightGray);
            return FromQColor(palette.color(system.group, system.role));
        }
    }
    return 0;
}

QColor ToQColor(TColor colour) {
    const TColor rgb = ColorToRGB(colour);
    return QColor(Red(rgb), Green(rgb), Blue(rgb));
}

TColor FromQColor(const QColor& colour) {
    return Rgb(colour.red(), colour.green(), colour.blue());
}

TColor ParseColourValue(std::string_view text) {
    int channels[3] = {0, 0, 0};
    int found = 0;
    std::size_t i = 0;
    while (i < text.size() && found < 3) {
        if (text[i] < '0' || text[i] > '9') {
            ++i;
            continue;
        }
        int value = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            value = std::min(value * 10 + (text[i] - '0'), 256);
        }
        channels[found++] = std::min(value, 255);
    }
    return Rgb(channels[0], channels[1], channels[2]);
}

TColor Blend(TColor x, TColor y, int p) {
    const int d = p < 100 ? 100 : 1000;
    const TColor a = ColorToRGB(x);
    const TColor b = ColorToRGB(y);
    auto mix = [&](int ca, int cb) {
        return std::clamp((p * ca + (d - p) * cb + d / 2) / d, 0, 255);
    };
    return Rgb(mix(Red(a), Red(b)), mix(Green(a), Green(b)), mix(Blue(a), Blue(b)));
}

QList<QRgb> TGradientCache::Gradient(int n, TColor a, TColor b) {
    for (const Table& table : ring_) {
        if (table.n == n && table.a == a && table.b == b && !table.colours.isEmpty()) {
            return table.colours;
        }
    }
    const TColor from = ColorToRGB(a);
    const TColor to = ColorToRGB(b);
    QList<QRgb> colours;
    colours.reserve(std::max(n, 0));
    // Rounded to the nearest step in both directions, so a falling gradient ends on b too.
    auto step = [n](int ca, int cb, int i) {
        const int span = i * (cb - ca), half = (n - 1) / 2;
        return ca + (span >= 0 ? (span + half) / (n - 1) : -((-span + half) / (n - 1)));
    };
    for (int i = 0; i < n; ++i) {
        if (n == 1) {
            colours.append(qRgb(Red(from), Green(from), Blue(from)));
        } else {
            colours.append(qRgb(step(Red(from), Red(to), i), step(Green(from), Green(to), i),
                                step(Blue(from), Blue(to), i)));
        }
    }
    ring_[next_] = Table{n, a, b, colours};
    next_ = (next_ + 1) % static_cast<int>(ring_.size());
    return colours;
}

}  // namespace vardo
