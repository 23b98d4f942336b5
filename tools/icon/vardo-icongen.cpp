// vardo-icongen OUTDIR SIZE...: draws the program's icon, a timetable card with its running row
// lit and a clock, on a tile of the console's dark blue, into the hicolor icon theme's layout:
// OUTDIR/scalable/apps/vardo.svg and OUTDIR/<SIZE>x<SIZE>/apps/vardo.png for each SIZE. The SVG
// and the PNGs come from one list of shapes, so they cannot drift apart. Every failure is one
// line on standard error and a non-zero exit status.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <functional>
#include <vector>

namespace vardo {
namespace {

// The icon's own coordinates: a square of kSide units.
constexpr double kSide = 256;

struct Shape {
    enum Kind { RoundedRect, Circle, Line } kind;
    double x1, y1, x2, y2;  // rectangle: left, top, width, height; circle: centre, radius; line
    double radius = 0;      // of a rectangle's corners
    QColor fill = Qt::transparent;
    QColor stroke = Qt::transparent;
    double strokeWidth = 0;
};

const QColor kTile("#1e2a36");
const QColor kCard("#e9eef3");
const QColor kHeader("#3d6fa8");
const QColor kRow("#9fb2c4");
const QColor kTally("#f2a22c");
const QColor kFace("#ffffff");

std::vector<Shape> IconShapes() {
    std::vector<Shape> shapes{
        {Shape::RoundedRect, 8, 8, 240, 240, 44, kTile},
        {Shape::RoundedRect, 36, 40, 144, 176, 12, kCard},
        {Shape::RoundedRect, 36, 40, 144, 30, 12, kHeader},
        {Shape::RoundedRect, 36, 58, 144, 12, 0, kHeader},
    };
    // The timetable's rows; the second is the task on air.
    for (int row = 0; row < 4; ++row) {
        shapes.push_back(
            {Shape::RoundedRect, 50, 86.0 + row * 30, 116, 14, 7, row == 1 ? kTally : kRow});
    }
    shapes.push_back({Shape::Circle, 178, 170, 56, 0, 0, kFace, kTile, 10});
    shapes.push_back({Shape::Line, 178, 170, 178, 134, 0, Qt::transparent, kTile, 10});
    shapes.push_back({Shape::Line, 178, 170, 204, 184, 0, Qt::transparent, kTile, 10});
    shapes.push_back({Shape::Circle, 178, 170, 8, 0, 0, kTally});
    return shapes;
}

QString SvgColour(const QColor& colour) {
    return colour.alpha() == 0 ? QStringLiteral("none") : colour.name();
}

QString SvgElement(const Shape& shape) {
    const QString paint = QStringLiteral(R"( fill="%1" stroke="%2" stroke-width="%3")")
                              .arg(SvgColour(shape.fill), SvgColour(shape.stroke))
                              .arg(shape.strokeWidth);
    switch (shape.kind) {
        case Shape::RoundedRect:
            return QStringLiteral(R"(  <rect x="%1" y="%2" width="%3" height="%4" rx="%5")")
                       .arg(shape.x1)
                       .arg(shape.y1)
                       .arg(shape.x2)
                       .arg(shape.y2)
                       .arg(shape.radius) +
                   paint + "/>\n";
        case Shape::Circle:
            return QStringLiteral(R"(  <circle cx="%1" cy="%2" r="%3")")
                       .arg(shape.x1)
                       .arg(shape.y1)
                       .arg(shape.x2) +
                   paint + "/>\n";
        case Shape::Line:
            return QStringLiteral(R"(  <line x1="%1" y1="%2" x2="%3" y2="%4")")
                       .arg(shape.x1)
                       .arg(shape.y1)
                       .arg(shape.x2)
                       .arg(shape.y2) +
                   paint + R"( stroke-linecap="round"/>)" + "\n";
    }
    return {};
}

QString Svg(const std::vector<Shape>& shapes) {
    QString svg =
        QStringLiteral(R"(<svg xmlns="http://www.w3.org/2000/svg" width="%1" height="%1" )"
                       R"(viewBox="0 0 %1 %1">)")
            .arg(kSide) +
        "\n";
    for (const Shape& shape : shapes) svg += SvgElement(shape);
    return svg + "</svg>\n";
}

void Paint(QPainter& painter, const Shape& shape) {
    painter.setBrush(shape.fill);
    painter.setPen(shape.strokeWidth > 0
                       ? QPen(shape.stroke, shape.strokeWidth, Qt::SolidLine, Qt::RoundCap)
                       : QPen(Qt::NoPen));
    switch (shape.kind) {
        case Shape::RoundedRect:
            painter.drawRoundedRect(QRectF(shape.x1, shape.y1, shape.x2, shape.y2), shape.radius,
                                    shape.radius);
            break;
        case Shape::Circle:
            painter.drawEllipse(QPointF(shape.x1, shape.y1), shape.x2, shape.x2);
            break;
        case Shape::Line:
            painter.drawLine(QPointF(shape.x1, shape.y1), QPointF(shape.x2, shape.y2));
            break;
    }
}

QImage Picture(const std::vector<Shape>& shapes, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kSide, size / kSide);
    for (const Shape& shape : shapes) Paint(painter, shape);
    return image;
}

bool Fail(const char* what, const QString& path) {
    std::fprintf(stderr, "vardo-icongen: cannot %s %s\n", what, qPrintable(path));
    return false;
}

bool WriteIcon(const QString& outDir, const QString& themeFolder, const QString& fileName,
               const std::function<bool(const QString&)>& write) {
    const QString folder = outDir + '/' + themeFolder + "/apps";
    if (!QDir().mkpath(folder)) return Fail("make", folder);
    const QString path = folder + '/' + fileName;
    return write(path) || Fail("write", path);
}

}  // namespace
}  // namespace vardo

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: vardo-icongen OUTDIR SIZE...\n");
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    const std::vector<vardo::Shape> shapes = vardo::IconShapes();
    bool written = vardo::WriteIcon(outDir, "scalable", "vardo.svg", [&](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(vardo::Svg(shapes).toUtf8()) >= 0 && file.flush();
    });
    for (int i = 2; i < argc && written; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        if (size < 16 || size > 1024) {
            std::fprintf(stderr, "vardo-icongen: not an icon size: %s\n", argv[i]);
            return 2;
        }
        const QString theme = QStringLiteral("%1x%1").arg(size);
        written = vardo::WriteIcon(outDir, theme, "vardo.png", [&](const QString& path) {
            return vardo::Picture(shapes, size).save(path, "PNG");
        });
    }
    return written ? 0 : 1;
}
