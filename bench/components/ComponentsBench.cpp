// Paint time of every shape of the shape control at the control's initial size and at a large
// size, rendered offscreen into an image.

#include "MyShape.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QImage>
#include <QMetaEnum>
#include <QPainter>

namespace {

using vardo::TMyShape;

// A caption that gives the shape something to draw in all its parts.
QString CaptionFor(TMyShape::TDrawShape shape) {
    switch (shape) {
        case TMyShape::dsClock:
        case TMyShape::dsCompass:
            return QStringLiteral("10:10:30");
        case TMyShape::dsHandwheel:
            return QStringLiteral("10");
        case TMyShape::dsRectangle:
            return QStringLiteral("0.6");
        case TMyShape::dsTable:
            return QStringLiteral("4,5");
        case TMyShape::dsHeightMeter:
            return QStringLiteral("Level,2000");
        default:
            return QStringLiteral("Pump 1,Feed");
    }
}

void PaintShape(benchmark::State& state, TMyShape::TDrawShape member, QSize size) {
    TMyShape shape;
    shape.resize(size);
    shape.SetDrawShape(member);
    shape.SetCaption(CaptionFor(member));
    shape.SetsID(QStringLiteral("L1,L2"));
    shape.SetFrameWidth(member == TMyShape::dsHeightMeter ? 900 : 3);
    shape.SetShowDot(true);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::lightGray);
    for (auto _ : state) {
        QPainter painter(&image);
        shape.Paint(painter);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void RegisterShapeBenchmarks() {
    const QMetaEnum members = QMetaEnum::fromType<TMyShape::TDrawShape>();
    for (int i = 0; i < TMyShape::DrawShapeCount; ++i) {
        const auto member = static_cast<TMyShape::TDrawShape>(i);
        for (const QSize size : {QSize(64, 56), QSize(400, 300)}) {
            const std::string name = std::string("ShapePaint/") + members.valueToKey(i) + "/" +
                                     std::to_string(size.width()) + "x" +
                                     std::to_string(size.height());
            benchmark::RegisterBenchmark(name.c_str(), [member, size](benchmark::State& state) {
                PaintShape(state, member, size);
            })->Unit(benchmark::kMicrosecond);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Rendering into images needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    RegisterShapeBenchmarks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
