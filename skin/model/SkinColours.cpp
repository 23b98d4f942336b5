#include "SkinColours.h"

#include <algorithm>

namespace vardo {
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
    return RGBColor(channels[0], channels[1], channels[2]);
}

TColor Blend(TColor x, TColor y, int p) {
    const int d = p < 100 ? 100 : 1000;
    const TColor a = ColorToRGB(x);
    const TColor b = ColorToRGB(y);
    auto mix = [&](int ca, int cb) {
        return std::clamp((p * ca + (d - p) * cb + d / 2) / d, 0, 255);
    };
    return RGBColor(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)),
                    mix(BlueOf(a), BlueOf(b)));
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
            colours.append(qRgb(RedOf(from), GreenOf(from), BlueOf(from)));
        } else {
            colours.append(qRgb(step(RedOf(from), RedOf(to), i),
                                step(GreenOf(from), GreenOf(to), i),
                                step(BlueOf(from), BlueOf(to), i)));
        }
    }
    ring_[next_] = Table{n, a, b, colours};
    next_ = (next_ + 1) % static_cast<int>(ring_.size());
    return colours;
}

}  // namespace vardo
