#include "ButtonGlyphs.h"

namespace vardo {

namespace {

constexpr QRgb kWhite = 0xFFFFFF;

QRgb Rgb(QRgb pixel) {
    return pixel & 0xFFFFFF;
}

}  // namespace

int GlyphCellCount(QSize stripSize, int current) {
    if (stripSize.height() <= 0 || stripSize.width() % stripSize.height() != 0) return current;
    const int cells = stripSize.width() / stripSize.height();
    return cells > 4 ? 1 : cells;
}

QImage GreyCopy(const QImage& image) {
    QImage grey = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int level =
                (11 * qRed(line[x]) + 59 * qGreen(line[x]) + 30 * qBlue(line[x])) / 100;
            line[x] = qRgb(level, level, level);
        }
    }
    return grey;
}

QImage EtchedCopy(const QImage& image, const QColor& face, const QColor& highlight,
                  const QColor& shadow) {
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    QImage etched(source.size(), QImage::Format_RGB32);
    etched.fill(face);
    if (source.isNull()) return etched;
    // The monochrome image: white where the pixel is white or the key colour, black elsewhere.
    // Pixels that are neither become black first, so a black key colour leaves no ink at all.
    const QRgb key = Rgb(source.pixel(0, 0));
    const auto ink = [&](int x, int y) {
        const QRgb pixel = Rgb(source.pixel(x, y));
        return pixel != kWhite && pixel != key && key != 0;
    };
    const QRgb light = highlight.rgb();
    const QRgb dark = shadow.rgb();
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            if (!ink(x, y)) continue;
            if (x + 1 < etched.width() && y + 1 < etched.height())
                etched.setPixel(x + 1, y + 1, light);
        }
    }
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            if (ink(x, y)) etched.setPixel(x, y, dark);
        }
    }
    return etched;
}

QImage MaskedByBottomLeft(const QImage& image) {
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    if (masked.isNull()) return masked;
    const QRgb key = Rgb(masked.pixel(0, masked.height() - 1));
    for (int y = 0; y < masked.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x) {
            if (Rgb(line[x]) == key) line[x] = 0;
        }
    }
    return masked;
}

}  // namespace vardo
