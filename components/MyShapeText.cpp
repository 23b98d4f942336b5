#include "MyShapeText.h"

#include <array>

namespace vardo {

namespace {

// The colour of the outline around fitted text.
constexpr TColor OutlineColor = RGBColor(16, 16, 16);

int NumberOr(const QString& text, int fallback) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : fallback;
}

// Lowers the font one point at a time, at least once, until `fits` or the size is at most 2.
template <typename Fits>
void ShrinkFont(ShapeCanvas& canvas, Fits fits) {
    do {
        canvas.font.SetSize(canvas.font.Size() - 1);
    } while (!fits() && canvas.font.Size() > 2);
}

}  // namespace

int FieldCount(const QString& text, const QString& separator) {
    if (text.isEmpty()) return 0;
    if (separator.isEmpty()) return 1;
    return static_cast<int>(text.split(separator).size());
}

QString FieldAt(const QString& text, const QString& separator, int n) {
    if (n < 1 || n > FieldCount(text, separator)) return QString();
    if (separator.isEmpty()) return text;
    return text.split(separator).at(n - 1);
}

QString FontToSpec(const TextFont& font) {
    QString style;
    if (font.font.bold()) style += QStringLiteral("fsBold,");
    if (font.font.italic()) style += QStringLiteral("fsItalic");
    return QStringLiteral("%1;%2;%3;%4;%5;%6;")
        .arg(font.font.family())
        .arg(font.Size())
        .arg(RedOf(font.color))
        .arg(GreenOf(font.color))
        .arg(BlueOf(font.color))
        .arg(style);
}

void SpecToFont(const QString& spec, TextFont& font) {
    const QString sep = QStringLiteral(";");
    const QString name = FieldAt(spec, sep, 1);
    font.font.setFamily(name.isEmpty() ? QStringLiteral("黑体") : name);
    font.SetSize(NumberOr(FieldAt(spec, sep, 2), 22));
    font.color = RGBColor(NumberOr(FieldAt(spec, sep, 3), 255), NumberOr(FieldAt(spec, sep, 4), 0),
                          NumberOr(FieldAt(spec, sep, 5), 0));
    const QString style = FieldAt(spec, sep, 6);
    font.font.setBold(style.contains(QStringLiteral("fsBold")));
    font.font.setItalic(style.contains(QStringLiteral("fsItalic")));
}

TColor SpecToColor(const QString& spec) {
    const QString sep = QStringLiteral(";");
    return RGBColor(NumberOr(FieldAt(spec, sep, 1), 255), NumberOr(FieldAt(spec, sep, 2), 255),
                    NumberOr(FieldAt(spec, sep, 3), 255));
}

void DrawFittedText(const QString& text, TMyShape::TTextAlign align, ShapeCanvas& canvas,
                    bool keepSize, bool box, const TRect& rect) {
    const QString shown = text.isEmpty() ? QStringLiteral(" ") : text;
    const int availableWidth = rect.Width() - 2;
    const int availableHeight = rect.Height() - 2;
    if (!keepSize) {
        if (canvas.TextHeight(shown) > availableHeight) {
            ShrinkFont(canvas, [&] { return canvas.TextHeight(shown) <= availableHeight; });
        }
        if (canvas.TextWidth(shown) > availableWidth) {
            ShrinkFont(canvas, [&] { return canvas.TextWidth(shown) <= availableWidth; });
        }
    }
    const int textWidth = canvas.TextWidth(shown);
    const int textHeight = canvas.TextHeight(shown);
    int x = rect.left + (availableWidth - textWidth) / 2;
    if (align == TMyShape::taLeft) {
        x = rect.left + 2;
    } else if (align == TMyShape::taRight) {
        x = rect.left + availableWidth - textWidth;
    }
    const int y = rect.top + (availableHeight - textHeight) / 2 + 1;

    const TColor textColor = canvas.font.color;
    canvas.font.color = OutlineColor;
    static constexpr std::array<QPoint, 8> Neighbours = {
        QPoint(-1, 0), QPoint(-1, -1), QPoint(0, -1), QPoint(1, -1),
        QPoint(1, 0),  QPoint(1, 1),   QPoint(0, 1),  QPoint(-1, 1)};
    for (const QPoint& offset : Neighbours) {
        canvas.TextOut(x + offset.x(), y + offset.y(), shown);
    }
    canvas.font.color = textColor;
    canvas.TextOut(x, y, shown);

    if (box) {
        canvas.MoveTo(rect.left, rect.top);
        canvas.LineTo(rect.right, rect.top);
        canvas.LineTo(rect.right, rect.bottom);
        canvas.LineTo(rect.left, rect.bottom);
        canvas.LineTo(rect.left, rect.top);
    }
}

}  // namespace vardo
