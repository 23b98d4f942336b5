#include "ShapeDrawing.h"

#include "MyShapeText.h"

#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <vector>

namespace vardo {

const std::array<QString, TMyShape::DrawShapeCount> DrawShapeNames = {
    QStringLiteral("文字"),         QStringLiteral("三叉输入线"), QStringLiteral("继电器"),
    QStringLiteral("直线"),         QStringLiteral("开关:断开"),  QStringLiteral("开关:闭合"),
    QStringLiteral("船形开关"),     QStringLiteral("箭头"),       QStringLiteral("电感"),
    QStringLiteral("电阻"),         QStringLiteral("电容"),       QStringLiteral("二极管"),
    QStringLiteral("三角型"),       QStringLiteral("平行四边形"), QStringLiteral("菱形"),
    QStringLiteral("圆形"),         QStringLiteral("四边形"),     QStringLiteral("时钟"),
    QStringLiteral("罗盘"),         QStringLiteral("手轮"),       QStringLiteral("多线条"),
    QStringLiteral("表格"),         QStringLiteral("电磁阀"),     QStringLiteral("电动阀"),
    QStringLiteral("三极管"),       QStringLiteral("接地"),       QStringLiteral("正弦波"),
    QStringLiteral("余弦波"),       QStringLiteral("方波"),       QStringLiteral("三相电机"),
    QStringLiteral("交流接线方式"), QStringLiteral("负载"),       QStringLiteral("电池"),
    QStringLiteral("多行文本"),     QStringLiteral("高度标签"),
};

namespace {

int NumberOr(const QString& text, int fallback) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : fallback;
}

// Each component multiplied by numerator / denominator in integer arithmetic.
TColor ScaleColor(TColor color, int numerator, int denominator) {
    const TColor rgb = ColorToRGB(color);
    const auto scale = [&](int component) {
        return denominator == 0 ? component
                                : std::clamp(component * numerator / denominator, 0, 255);
    };
    return RGBColor(scale(RedOf(rgb)), scale(GreenOf(rgb)), scale(BlueOf(rgb)));
}

// The point at `degrees` (0..90) on the quarter of the ellipse with semi-axes a and b, as
// distances right of and above the centre. A flat ellipse has the point at its centre.
QPoint QuarterEllipsePoint(double a, double b, double degrees) {
    if (a <= 0 || b <= 0) return QPoint(0, 0);
    const double t = std::tan(degrees * std::numbers::pi / 180.0);
    const int x = static_cast<int>(a * b / std::sqrt(t * t * a * a + b * b));
    const double ratio = std::max(0.0, 1.0 - static_cast<double>(x) * x / (a * a));
    return QPoint(x, static_cast<int>(std::sqrt(ratio) * b));
}

// Where a clock hand points, by its value: a minute or second of 45 points straight left.
enum class HandQuadrant { UpperRight, LowerRight, LowerLeft, Left, UpperLeft };

HandQuadrant SixtiethQuadrant(int value) {
    if (value < 15) return HandQuadrant::UpperRight;
    if (value < 30) return HandQuadrant::LowerRight;
    if (value < 45) return HandQuadrant::LowerLeft;
    if (value == 45) return HandQuadrant::Left;
    return HandQuadrant::UpperLeft;
}

// A number drawn into a pixel coordinate, kept far from the limits of int.
int ToCoordinate(double value) {
    return static_cast<int>(std::clamp(value, -1.0e6, 1.0e6));
}

// The draws of one paint of one control.
class ShapeDrawer {
  public:
    ShapeDrawer(TMyShape& shape, ShapeCanvas& canvas) : shape_(shape), canvas_(canvas) {}

    void Draw();

    void DrawText();
    void DrawMultText();

  private:
    int W() const { return shape_.width(); }
    int H() const { return shape_.height(); }
    int P() const { return shape_.PenWidth(); }
    TMyShape::TDrawDirection Direction() const { return shape_.DrawDirection(); }
    bool Upright() const {
        return Direction() == TMyShape::ddUp || Direction() == TMyShape::ddDown;
    }
    TColor Inverse() const { return ColorToRGB(shape_.Color()) ^ 0xFFFFFF; }
    int CaptionHeight() const { return canvas_.TextHeight(shape_.Caption()); }
    int CaptionWidth() const { return canvas_.TextWidth(shape_.Caption()); }

    void Fitted(const QString& text, TMyShape::TTextAlign align, const TRect& rect) {
        DrawFittedText(text, align, canvas_, shape_.OrgFontSize(), false, rect);
    }
    void RestoreFontSize(int size) { canvas_.font.SetSize(size); }
    // A label of the caption by DrawEffectText, in the control's font with black rings.
    void EffectLabel(int x, int y, int tenthsOfDegree, int rings);
    // The caption turned to read downwards, centred on the horizontal position `centreX`.
    void DownwardLabel(int centreX);

    void DrawDot(int x, int y);
    void DrawKnob(int x, int y);
    void DrawShadedLine(int x1, int y1, int x2, int y2);
    void FillBands(const TRect& rect, TColor color, bool horizontalLines);
    void FillMirrorStrips(const TRect& rect, TColor color);
    void DrawWell(const TRect& rect, int n);

    void DrawTriLine();
    void DrawRelay();
    void DrawLine();
    void DrawSwitch1(bool closed);
    void DrawSwitch2();
    void DrawArrow();
    void DrawInductance();
    void DrawResistance();
    void DrawCapacitance();
    void DrawDiode();
    void DrawTriangle();
    void DrawDiamond();
    void DrawCircle();
    void DrawRectangle();
    void DrawClock();
    void DrawCompass();
    void DrawHandwheel();
    void DrawMultiLine();
    void DrawTable();
    void DrawGround();
    void DrawLight();
    void DrawHeightMeter();

    struct Dial {
        int left, top, right, bottom, cx, cy;
    };
    Dial ClockDial() const;
    void DrawClockRim(const Dial& dial);
    void DrawClockFace(const Dial& dial);
    void DrawClockHands(const Dial& dial, int hourWidth, int minuteWidth, int secondWidth);
    void CornerLabel(const QString& text, int x, int y);

    TMyShape& shape_;
    ShapeCanvas& canvas_;
};

void ShapeDrawer::Draw() {
    switch (shape_.DrawShape()) {
        case TMyShape::dsText:
            DrawText();
            break;
        case TMyShape::dsTriLine:
            DrawTriLine();
            break;
        case TMyShape::dsRelay:
            DrawRelay();
            break;
        case TMyShape::dsLine:
            DrawLine();
            break;
        case TMyShape::dsSwitch1OFF:
            DrawSwitch1(false);
            break;
        case TMyShape::dsSwitch1ON:
            DrawSwitch1(true);
            break;
        case TMyShape::dsSwitch2:
            DrawSwitch2();
            break;
        case TMyShape::dsArrow:
            DrawArrow();
            break;
        case TMyShape::dsInductance:
            DrawInductance();
            break;
        case TMyShape::dsResistance:
            DrawResistance();
            break;
        case TMyShape::dsCapacitance:
            DrawCapacitance();
            break;
        case TMyShape::dsDiode:
            DrawDiode();
            break;
        case TMyShape::dsTriangle:
            DrawTriangle();
            break;
        case TMyShape::dsDiamond:
            DrawDiamond();
            break;
        case TMyShape::dsCircle:
            DrawCircle();
            break;
        case TMyShape::dsRectangle:
            DrawRectangle();
            break;
        case TMyShape::dsClock:
            DrawClock();
            break;
        case TMyShape::dsCompass:
            DrawCompass();
            break;
        case TMyShape::dsHandwheel:
            DrawHandwheel();
            break;
        case TMyShape::dsMultiLine:
            DrawMultiLine();
            break;
        case TMyShape::dsTable:
            DrawTable();
            break;
        case TMyShape::dsGround:
            DrawGround();
            break;
        case TMyShape::dsLight:
            DrawLight();
            break;
        case TMyShape::dsMultText:
            DrawMultText();
            break;
        case TMyShape::dsHeightMeter:
            DrawHeightMeter();
            break;
        default:  // the symbols without a drawing of their own
            break;
    }
}

// --- text -------------------------------------------------------------------------------------

void ShapeDrawer::DrawText() {
    const int size = canvas_.font.Size();
    // The right edge lies two pixels beyond the control, which centres the text a little right.
    Fitted(shape_.Caption(), shape_.TextAlign(), {1, 1, W() + 2, H() - 1});
    RestoreFontSize(size);
}

void ShapeDrawer::DrawMultText() {
    const QString separator = QStringLiteral(",");
    const int n = FieldCount(shape_.Caption(), separator);
    if (n <= 1) {
        DrawText();
        return;
    }
    const int size = canvas_.font.Size();
    const int h = H() / n;
    // The rows overlap by a few pixels so that descenders are not cut.
    for (int i = 1; i <= n; ++i) {
        RestoreFontSize(size);
        Fitted(FieldAt(shape_.Caption(), separator, i), shape_.TextAlign(),
               {1, (i - 1) * h - 2, W() + 3, i * h + 4});
    }
    RestoreFontSize(size);
}

void ShapeDrawer::EffectLabel(int x, int y, int tenthsOfDegree, int rings) {
    const QString separator = QStringLiteral("~~");
    const QString spec = QStringList{shape_.Caption(),
                                     QString::number(x),
                                     QString::number(y),
                                     QString::number(tenthsOfDegree),
                                     FontToSpec({shape_.Font(), shape_.FontColor()}),
                                     QStringLiteral("0;0;0;"),
                                     QString::number(rings),
                                     QStringLiteral("0")}
                             .join(separator);
    DrawEffectText(canvas_, spec);
}

void ShapeDrawer::DownwardLabel(int centreX) {
    // Turned a quarter clockwise the text runs down from its reference point, and its cell lies
    // left of it.
    EffectLabel(centreX + CaptionHeight() / 2, (H() - CaptionWidth()) / 2, -900, 1);
}

// --- shared helpers ---------------------------------------------------------------------------

void ShapeDrawer::DrawDot(int x, int y) {
    canvas_.SetPen(1, clYellow, Qt::SolidLine);
    const int outer = P() + 2;
    canvas_.SetBrushColor(clBlack);
    canvas_.Ellipse({x - outer, y - outer, x + outer, y + outer});
    canvas_.SetBrushColor(clGray);
    canvas_.Ellipse({x - P(), y - P(), x + P(), y + P()});
    canvas_.penColor = shape_.Color();
}

void ShapeDrawer::DrawKnob(int x, int y) {
    const int n = P() + 2;
    for (int k = n; k >= 2; --k) {
        const TColor color = ScaleColor(shape_.Color(), n - k + 1, n);
        canvas_.penColor = color;
        canvas_.SetBrushColor(color);
        canvas_.Ellipse({x - k, y - k, x + k, y + k});
    }
}

void ShapeDrawer::DrawShadedLine(int x1, int y1, int x2, int y2) {
    const int w = canvas_.penWidth;
    const int e = w + 3;
    for (int v = e; v >= 1; --v) {
        canvas_.penColor = ScaleColor(shape_.Color(), w - v + 4, e);
        canvas_.penWidth = v;
        canvas_.Line(x1, y1, x2, y2);
    }
}

void ShapeDrawer::FillBands(const TRect& rect, TColor color, bool horizontalLines) {
    const int half = (horizontalLines ? rect.Height() : rect.Width()) / 2;
    std::vector<TColor> bands(2 * half + 1);
    for (int n = half; n >= 0; --n) {
        bands[n] = bands[2 * half - n] = DimColor(color, (half - n) * 0.04 + 1);
    }
    canvas_.FillStripes(rect, bands, horizontalLines ? Qt::Horizontal : Qt::Vertical);
}

void ShapeDrawer::FillMirrorStrips(const TRect& rect, TColor color) {
    const int d = (rect.Width() + 1) / 2;
    if (d <= 0 || rect.Height() <= 0) return;
    // Strips k from each edge, the later drawn over the earlier where they meet in the middle;
    // the right edge's strip lies on the rect's right edge.
    std::vector<TColor> strips(rect.Width() + 1);
    for (int k = 0; k <= d; ++k) {
        // The middle strip (distance 0 from the middle) would divide by zero; it takes the full
        // colour like the strips next to it.
        const double factor = k == d ? 1.0 : std::pow(d - k, 1.0 / d + 1.008);
        const TColor dimmed = DimColor(color, factor);
        strips[k] = dimmed;
        strips[rect.Width() - k] = dimmed;
    }
    canvas_.FillStripes(rect, strips, Qt::Vertical);
}

void ShapeDrawer::DrawWell(const TRect& rect, int n) {
    canvas_.penWidth = 1;
    canvas_.brushClear = true;
    for (int i = 0; i <= n; ++i) {
        canvas_.penColor = DimColor(clWhite, i * 0.15 + 1);
        canvas_.Rectangle(rect.Inflated(-i));
    }
}

// --- wires and parts --------------------------------------------------------------------------

void ShapeDrawer::DrawTriLine() {
    if (Upright()) {
        if (H() < 2 * W()) shape_.resize(W(), 2 * W());
    } else if (W() < 2 * H()) {
        shape_.resize(2 * H(), H());
    }
    const int w = W();
    const int h = H();
    switch (Direction()) {
        case TMyShape::ddUp: {
            const QPoint fork[] = {{0, h}, {w / 2, h - w}, {w, h}};
            canvas_.Polyline(fork);
            canvas_.Line(w / 2, h - w, w / 2, 0);
            DrawDot(w / 2, P() + 2);
            EffectLabel(w - 2, 2 * P() + 6, -900, 0);
            break;
        }
        case TMyShape::ddDown: {
            const QPoint fork[] = {{0, 0}, {w / 2, w}, {w, 0}};
            canvas_.Polyline(fork);
            canvas_.Line(w / 2, w, w / 2, h);
            DrawDot(w / 2, h - P() - 2);
            EffectLabel(w - 2, w + 3, -900, 0);
            break;
        }
        case TMyShape::ddLeft: {
            const QPoint fork[] = {{w, 0}, {w - h, h / 2}, {w, h}};
            canvas_.Polyline(fork);
            canvas_.Line(w - h, h / 2, 0, h / 2);
            DrawDot(P() + 2, h / 2);
            EffectLabel(2 * P() + 6, 1, 0, 0);
            break;
        }
        case TMyShape::ddRight: {
            const QPoint fork[] = {{0, 0}, {h, h / 2}, {0, h}};
            canvas_.Polyline(fork);
            canvas_.Line(h, h / 2, w, h / 2);
            DrawDot(w - P() - 2, h / 2);
            EffectLabel(h + 2, 1, 0, 0);
            break;
        }
    }
}

void ShapeDrawer::DrawRelay() {
    const int u = W() / 3;
    const int f =
        static_cast<int>(std::max<quint32>(2, std::min<quint32>(shape_.FrameWidth(), INT_MAX)));
    const int size = canvas_.font.Size();
    const int th = CaptionHeight();
    Fitted(shape_.Caption(), shape_.TextAlign(), {0, 0, W(), th + 2});
    RestoreFontSize(size);

    const int y = (H() - th) / f + th + 2;
    const int contactLeft = static_cast<int>(1.2 * u);
    const int contactRight = static_cast<int>(1.8 * u);
    const int contactHalf = static_cast<int>(0.2 * u);
    canvas_.penWidth = P();
    canvas_.Line(0, y, contactLeft, y);
    canvas_.Line(contactRight, y, W(), y);
    const TRect contact{contactLeft, y - contactHalf, contactRight, y + contactHalf};
    FillMirrorStrips(contact, shape_.Color());
    canvas_.SetPen(1, Inverse(), Qt::SolidLine);
    canvas_.brushClear = true;
    canvas_.Rectangle(contact);
    canvas_.SetPen(P(), shape_.Color(), shape_.QtPenStyle());
    canvas_.Rectangle({u, th + 4, 2 * u, H() - P()});
    DrawDot(W() - P() - 2, y);
    DrawDot(P() + 2, y);

    const QString separator = QStringLiteral(",");
    Fitted(FieldAt(shape_.sID(), separator, 1), TMyShape::taLeft, {P() + 4, y - th - 5, u, y - 3});
    RestoreFontSize(size);
    Fitted(FieldAt(shape_.sID(), separator, 2), TMyShape::taRight,
           {2 * u, y - th - 5, W() - P() - 5, y - 3});
    RestoreFontSize(size);
}

void ShapeDrawer::DrawLine() {
    const int w = W();
    const int h = H();
    const int inset = P() + 2;
    switch (Direction()) {
        case TMyShape::ddUp:
        case TMyShape::ddDown: {
            const bool rising = Direction() == TMyShape::ddUp;
            if (rising) {
                canvas_.Line(2, h - 2, w - 2, 2);
            } else {
                canvas_.Line(2, 2, w - 2, h - 2);
            }
            DrawDot(inset, rising ? h - inset : inset);
            DrawDot(w - inset, rising ? inset : h - inset);
            const int angle = static_cast<int>(std::atan2(h, w) * 1800 / std::numbers::pi);
            const int tenths = rising ? angle : -angle;
            // The label sits just above the line, its middle over the line's middle.
            const double radians = tenths / 10.0 * std::numbers::pi / 180.0;
            const double along = CaptionWidth() / 2.0;
            const double across = CaptionHeight();
            const double x = w / 2.0 - along * std::cos(radians) - across * std::sin(radians);
            const double y = h / 2.0 + along * std::sin(radians) - across * std::cos(radians);
            EffectLabel(ToCoordinate(x), ToCoordinate(y), tenths, 0);
            break;
        }
        case TMyShape::ddLeft:
            canvas_.Line(inset, 0, inset, h);
            DrawDot(inset, inset);
            DrawDot(inset, h - inset);
            EffectLabel((CaptionHeight() + w) / 2, (h - CaptionWidth()) / 2, -900, 1);
            break;
        case TMyShape::ddRight: {
            const int y = h - inset;
            canvas_.Line(0, y, w, y);
            const int size = canvas_.font.Size();
            Fitted(shape_.Caption(), shape_.TextAlign(), {0, 0, w, y});
            RestoreFontSize(size);
            DrawDot(w - inset, y);
            DrawDot(inset, y);
            break;
        }
    }
}

void ShapeDrawer::DrawSwitch1(bool closed) {
    const int u = W() / 3;
    const int y = H() - P() - 2;
    const int leverFoot = static_cast<int>(1.2 * u);
    const int leverTip = static_cast<int>(1.8 * u);
    const QPoint lever[] = {{0, y}, {leverFoot, y}, {leverTip, P()}};
    canvas_.Polyline(lever);
    if (closed) {
        const int drop = static_cast<int>(1.7 * u);
        const QPoint wire[] = {{drop, static_cast<int>(H() * 0.25)}, {drop, y}, {W(), y}};
        canvas_.Polyline(wire);
    } else {
        canvas_.Line(leverTip, y, W(), y);
    }
    const int size = canvas_.font.Size();
    Fitted(shape_.Caption(), TMyShape::taCenter, {0, 0, W(), H()});
    RestoreFontSize(size);
    const QString separator = QStringLiteral(",");
    Fitted(FieldAt(shape_.sID(), separator, 1), TMyShape::taLeft, {P() + 4, P(), leverFoot, y});
    RestoreFontSize(size);
    Fitted(FieldAt(shape_.sID(), separator, 2), TMyShape::taRight,
           {leverTip, P(), W() - P() - 4, y});
    RestoreFontSize(size);
    DrawDot(P() + 1, y);
    DrawDot(W() - P() - 1, y);
}

void ShapeDrawer::DrawSwitch2() {
    const qint64 frameWidth = shape_.FrameWidth();
    const int extent = Upright() ? H() : W();
    const int count = static_cast<int>(extent / (2 * frameWidth + 2));
    if (count > 0) {
        const int segment = extent / count;
        const int width = static_cast<int>(frameWidth);
        const bool fromMiddle = Direction() == TMyShape::ddDown || Direction() == TMyShape::ddRight;
        const int start = fromMiddle ? extent / 2 : 0;
        for (int k = 0; k < count / 2; ++k) {
            const int from = start + k * segment;
            TRect frame = Upright() ? TRect{P(), from, W() - P(), from + segment}
                                    : TRect{from, P(), from + segment, H() - P()};
            canvas_.Frame3D(frame, clWhite, clGray, width);
        }
    }
    const QString separator = QStringLiteral(",");
    const int size = canvas_.font.Size();
    const TRect first = Upright() ? TRect{0, 0, W(), H() / 2} : TRect{0, 0, W() / 2, H()};
    const TRect second = Upright() ? TRect{0, H() / 2, W(), H()} : TRect{W() / 2, 0, W(), H()};
    Fitted(FieldAt(shape_.Caption(), separator, 1), shape_.TextAlign(), first);
    RestoreFontSize(size);
    Fitted(FieldAt(shape_.Caption(), separator, 2), shape_.TextAlign(), second);
    RestoreFontSize(size);
}

void ShapeDrawer::DrawArrow() {
    const int w = W();
    const int h = H();
    const int p = P();
    canvas_.penWidth = 1;
    canvas_.SetBrushColor(ColorToRGB(shape_.Color()));
    int u = Upright() ? w / 8 : h / 8;
    if (u == 0) u = 1;

    std::array<QPoint, 8> points;
    TRect tail;
    switch (Direction()) {
        case TMyShape::ddUp:
            points = {QPoint(3 * u, h - p - u), {3 * u, p + 5 * u}, {u + p, p + 5 * u}, {4 * u, p},
                      {7 * u - p, p + 5 * u},   {5 * u, p + 5 * u}, {5 * u, h - p - u}};
            tail = {2 * u, h - p - 4 * u, 6 * u, h - p};
            break;
        case TMyShape::ddDown:
            points = {QPoint(3 * u, p + u), {3 * u, h - p - 5 * u},     {u + p, h - p - 5 * u},
                      {4 * u, h - p},       {7 * u - p, h - p - 5 * u}, {5 * u, h - p - 5 * u},
                      {5 * u, p + u}};
            tail = {2 * u, p, 6 * u, p + 4 * u};
            break;
        case TMyShape::ddLeft:
            points = {QPoint(w - p - u, 3 * u), {p + 5 * u, 3 * u}, {p + 5 * u, u + p}, {p, 4 * u},
                      {p + 5 * u, 7 * u - p},   {p + 5 * u, 5 * u}, {w - p - u, 5 * u}};
            tail = {w - p - 4 * u, 2 * u, w - p, 6 * u};
            break;
        case TMyShape::ddRight:
            points = {QPoint(p + u, 3 * u), {w - p - 5 * u, 3 * u},     {w - p - 5 * u, u + p},
                      {w - p, 4 * u},       {w - p - 5 * u, 7 * u - p}, {w - p - 5 * u, 5 * u},
                      {p + u, 5 * u}};
            tail = {p, 2 * u, p + 4 * u, 6 * u};
            break;
    }
    points[7] = points[0];
    if (shape_.ShowDot()) {
        canvas_.Polygon(std::span(points).first(7));
    } else {
        canvas_.Polyline(points);
    }
    if (shape_.PenStyle() == TMyShape::psSolid) {
        canvas_.brushColor ^= 0xFFFFFF;
        canvas_.Ellipse(tail);
    }
    canvas_.brushColor ^= 0xFFFFFF;
    DrawMultText();
}

void ShapeDrawer::DrawInductance() {
    if (Upright()) {
        if (W() % 3 != 0) shape_.resize(W() - W() % 3, H());
    } else if (H() % 3 != 0) {
        shape_.resize(W(), H() - H() % 3);
    }
    const int w = W();
    const int h = H();
    for (int i = 0; i < 3; ++i) {
        switch (Direction()) {
            case TMyShape::ddUp:
                canvas_.Arc({i * w / 3, 0, (i + 1) * w / 3, 2 * h}, 0, 180);
                break;
            case TMyShape::ddDown:
                canvas_.Arc({i * w / 3, -h, (i + 1) * w / 3, h}, 180, 180);
                break;
            case TMyShape::ddLeft:
                canvas_.Arc({0, i * h / 3, 2 * w, (i + 1) * h / 3}, 90, 180);
                break;
            case TMyShape::ddRight:
                canvas_.Arc({-w, i * h / 3, w, (i + 1) * h / 3}, -90, 180);
                break;
        }
    }
    if (Upright()) {
        const int size = canvas_.font.Size();
        Fitted(shape_.Caption(), shape_.TextAlign(), {0, 0, w, h});
        RestoreFontSize(size);
    } else {
        EffectLabel((CaptionHeight() + w) / 2, (h - CaptionWidth()) / 2, -900, 1);
    }
}

void ShapeDrawer::DrawResistance() {
    const int w = W();
    const int h = H();
    const int p = P();
    static constexpr TColor Bands[] = {clRed, clFuchsia, RGBColor(255, 128, 0), clYellow};
    if (Upright()) {
        const int u = h / 10;
        const int lead = w / 4 + p / 2;
        canvas_.Line(lead, 0, lead, h / 4);
        canvas_.Line(lead, h / 4 + 5 * u, lead, h);
        for (int k = 1; k <= 4; ++k) {
            canvas_.penColor = Bands[k - 1];
            canvas_.Line(0, h / 4 + k * u, w / 2, h / 4 + k * u);
        }
        canvas_.penColor = shape_.Color();
        canvas_.Rectangle({p / 2, h / 4, w / 2, h / 4 + 5 * u});
        DrawDot(lead, p + 2);
        DrawDot(lead, h - p - 2);
        DownwardLabel(3 * w / 4);
    } else {
        const int u = w / 10;
        const int lead = 3 * h / 4 - p / 2;
        canvas_.Line(0, lead, w / 4, lead);
        canvas_.Line(w / 4 + 5 * u, lead, w, lead);
        for (int k = 1; k <= 4; ++k) {
            canvas_.penColor = Bands[k - 1];
            canvas_.Line(w / 4 + k * u, h / 2, w / 4 + k * u, h);
        }
        canvas_.penColor = shape_.Color();
        canvas_.Rectangle({w / 4, h / 2, w / 4 + 5 * u, h - p / 2 - 1});
        DrawDot(p + 2, lead);
        DrawDot(w - p - 2, lead);
        const int size = canvas_.font.Size();
        Fitted(shape_.Caption(), shape_.TextAlign(), {0, 0, w, h / 2});
        RestoreFontSize(size);
    }
}

void ShapeDrawer::DrawCapacitance() {
    const int w = W();
    const int h = H();
    const int p = P();
    if (Upright()) {
        const int lead = w / 4 + p / 2;
        canvas_.Line(lead, 0, lead, 3 * h / 8);
        canvas_.Line(lead, 5 * h / 8, lead, h);
        canvas_.Line(0, 3 * h / 8, w / 2, 3 * h / 8);
        canvas_.Line(0, 5 * h / 8, w / 2, 5 * h / 8);
        DrawDot(lead, p + 2);
        DrawDot(lead, h - p - 2);
        DownwardLabel(3 * w / 4);
    } else {
        // Lying, the figure takes the lower half with the caption above it, as the resistor's.
        const int lead = 3 * h / 4 - p / 2;
        canvas_.Line(0, lead, 3 * w / 8, lead);
        canvas_.Line(5 * w / 8, lead, w, lead);
        canvas_.Line(3 * w / 8, h / 2, 3 * w / 8, h);
        canvas_.Line(5 * w / 8, h / 2, 5 * w / 8, h);
        DrawDot(p + 2, lead);
        DrawDot(w - p - 2, lead);
        const int size = canvas_.font.Size();
        Fitted(shape_.Caption(), shape_.TextAlign(), {0, 0, w, h / 2});
        RestoreFontSize(size);
    }
}

void ShapeDrawer::DrawDiode() {
    const int w = W();
    const int h = H();
    const int p = P();
    if (Upright()) {
        // The bar sits on the side the diode points to.
        const int sign = Direction() == TMyShape::ddUp ? 1 : -1;
        const int lead = w / 4;
        const int apexY = h / 2 - sign * (w / 8);
        const int baseY = h / 2 + sign * (w / 8);
        canvas_.Line(lead, 0, lead, h);
        const QPoint triangle[] = {{lead, apexY}, {0, baseY}, {w / 2, baseY}};
        canvas_.Polygon(triangle);
        const int barY = apexY - sign * (p / 2);
        canvas_.Line(0, barY, w / 2, barY);
        DrawDot(lead, p + 2);
        DrawDot(lead, h - p - 2);
        DownwardLabel(3 * w / 4);
    } else {
        const int sign = Direction() == TMyShape::ddLeft ? 1 : -1;
        const int lead = 3 * h / 4;
        const int apexX = w / 2 - sign * (h / 8);
        const int baseX = w / 2 + sign * (h / 8);
        canvas_.Line(0, lead, w, lead);
        const QPoint triangle[] = {{apexX, lead}, {baseX, h / 2}, {baseX, h}};
        canvas_.Polygon(triangle);
        const int barX = apexX - sign * (p / 2);
        canvas_.Line(barX, h / 2, barX, h);
        DrawDot(p + 2, lead);
        DrawDot(w - p - 2, lead);
        const int size = canvas_.font.Size();
        Fitted(shape_.Caption(), shape_.TextAlign(), {0, 0, w, h / 2});
        RestoreFontSize(size);
    }
}

// --- figures ----------------------------------------------------------------------------------

void ShapeDrawer::CornerLabel(const QString& text, int x, int y) {
    // One line of text beside the corner, towards the middle of the control.
    const int size = canvas_.font.Size();
    const int th = canvas_.TextHeight(text);
    const int top = std::clamp(y - th / 2 - 1, 0, std::max(0, H() - th - 2));
    if (x <= W() / 2) {
        Fitted(text, TMyShape::taLeft, {x + P() + 4, top, W(), top + th + 2});
    } else {
        Fitted(text, TMyShape::taRight, {0, top, x - P() - 4, top + th + 2});
    }
    RestoreFontSize(size);
}

void ShapeDrawer::DrawTriangle() {
    const int w = W();
    const int h = H();
    const int inset = P() + 2;
    std::array<QPoint, 3> corners;
    switch (Direction()) {
        case TMyShape::ddUp:
            corners = {QPoint(w / 2, inset), {inset, h - inset}, {w - inset, h - inset}};
            break;
        case TMyShape::ddDown:
            corners = {QPoint(w / 2, h - inset), {inset, inset}, {w - inset, inset}};
            break;
        case TMyShape::ddLeft:
            corners = {QPoint(inset, h / 2), {w - inset, inset}, {w - inset, h - inset}};
            break;
        case TMyShape::ddRight:
            corners = {QPoint(w - inset, h / 2), {inset, inset}, {inset, h - inset}};
            break;
    }
    canvas_.Polygon(corners);
    for (const QPoint& corner : corners) DrawDot(corner.x(), corner.y());
    const QString separator = QStringLiteral(",");
    const int size = canvas_.font.Size();
    Fitted(FieldAt(shape_.Caption(), separator, 4), shape_.TextAlign(),
           {inset, inset, w - inset, h - inset});
    RestoreFontSize(size);
    for (int i = 0; i < 3; ++i) {
        CornerLabel(FieldAt(shape_.Caption(), separator, i + 1), corners[i].x(), corners[i].y());
    }
}

void ShapeDrawer::DrawDiamond() {
    const int w = W();
    const int h = H();
    const int inset = P() + 2;
    const std::array<QPoint, 4> corners = {
        QPoint(w / 2, inset), {w - inset, h / 2}, {w / 2, h - inset}, {inset, h / 2}};
    canvas_.Polygon(corners);
    for (const QPoint& corner : corners) DrawDot(corner.x(), corner.y());
    const QString separator = QStringLiteral(",");
    const auto field = [&](int n) { return FieldAt(shape_.Caption(), separator, n); };
    const int size = canvas_.font.Size();
    const int th = CaptionHeight();
    const TRect rows[] = {
        {w / 2 + inset + 2, P(), w, P() + th + 2}, {0, P(), w / 2 - inset - 2, P() + th + 2},
        {0, h - inset - th - 4, w, h - inset - 2}, {inset + 2, h / 2, w, h / 2 + th + 2},
        {inset, inset, w - inset, h - inset},
    };
    const TMyShape::TTextAlign aligns[] = {TMyShape::taLeft, TMyShape::taRight, shape_.TextAlign(),
                                           TMyShape::taLeft, shape_.TextAlign()};
    for (int i = 0; i < 5; ++i) {
        Fitted(field(i + 1), aligns[i], rows[i]);
        RestoreFontSize(size);
    }
}

void ShapeDrawer::DrawCircle() {
    canvas_.Ellipse({1, 1, W() - 2, H() - 2});
    const int size = canvas_.font.Size();
    Fitted(shape_.Caption(), shape_.TextAlign(), {3, 2, W() - 2, H() - 2});
    RestoreFontSize(size);
}

void ShapeDrawer::DrawRectangle() {
    const int w = W();
    const int h = H();
    const int p = P();
    const QPoint outline[] = {{p, p}, {w - p, p}, {w - p, h - p}, {p, h - p}, {p, p}, {w - p, p}};
    canvas_.Polyline(outline);

    bool ok = false;
    double level = shape_.Caption().toDouble(&ok);
    level = ok && std::isfinite(level) ? std::clamp(level, 0.0, 1.0) : 0.0;
    canvas_.SetBrushColor(shape_.Color());
    canvas_.penWidth = 1;
    const int e = p == 0 ? 0 : (p - 1) / 2;
    const int length = static_cast<int>(level * (Upright() ? h - 3 * p : w - 3 * p));
    TRect bar;
    switch (Direction()) {
        case TMyShape::ddUp:
            bar = {p + e + 1, h - p - e - length, w - p - e, h - p - e};
            break;
        case TMyShape::ddDown:
            bar = {p + e + 1, length + p + p / 2 + 1, w - p - e, h - p - e};
            break;
        case TMyShape::ddLeft:
            bar = {p + e + 1, p + e + 1, w - length - p - e, h - p - e};
            break;
        case TMyShape::ddRight:
            bar = {p + e + 1, p + e + 1, p + e + 1 + length, h - p - e};
            break;
    }
    if (bar.Width() > 0 && bar.Height() > 0) FillBands(bar, shape_.Color(), !Upright());
    if (shape_.ShowDot()) DrawMultText();
}

// --- dials ------------------------------------------------------------------------------------

ShapeDrawer::Dial ShapeDrawer::ClockDial() const {
    return {P() + 2, P() + 2, W() - P() - 2, H() - P() - 2, W() / 2, H() / 2};
}

void ShapeDrawer::DrawClockRim(const Dial& dial) {
    const int n = P() + 2;
    canvas_.SetPen(2, shape_.Color(), Qt::SolidLine);
    const TRect inner{dial.left, dial.top, dial.right, dial.bottom};
    for (int k = n; k >= 2; --k) {
        const TColor color = ScaleColor(shape_.Color(), n - k + 1, n);
        canvas_.penColor = color;
        canvas_.brushClear = true;
        canvas_.Ellipse(inner.Inflated(k));
        canvas_.SetBrushColor(color);
        canvas_.Rectangle({dial.cx - k, dial.cy - k, dial.cx + k, dial.cy + k});
    }
}

void ShapeDrawer::DrawClockFace(const Dial& dial) {
    canvas_.SetPen(1, Inverse(), Qt::SolidLine);
    canvas_.brushClear = true;
    canvas_.Ellipse(TRect{dial.left, dial.top, dial.right, dial.bottom}.Inflated(-2));
    canvas_.penWidth = 5;
    canvas_.Line(dial.cx, dial.top, dial.cx, dial.top + 8);
    canvas_.Line(dial.right, dial.cy, dial.right - 8, dial.cy);
    canvas_.Line(dial.cx, dial.bottom, dial.cx, dial.bottom - 8);
    canvas_.Line(dial.left, dial.cy, dial.left + 8, dial.cy);

    canvas_.SetPen(3, shape_.Color(), Qt::SolidLine);
    const int a = dial.right - dial.cx + 1;
    const int b = dial.cy - dial.top + 1;
    const int a95 = static_cast<int>(a * 0.95);
    const int b95 = static_cast<int>(b * 0.95);
    for (int t = 0; t <= 90; t += 30) {
        const QPoint outer = QuarterEllipsePoint(a, b, t);
        const QPoint inner = QuarterEllipsePoint(a95, b95, t);
        for (int sx : {1, -1}) {
            for (int sy : {1, -1}) {
                canvas_.Line(dial.cx + sx * outer.x(), dial.cy + sy * outer.y(),
                             dial.cx + sx * inner.x(), dial.cy + sy * inner.y());
            }
        }
    }
}

void ShapeDrawer::DrawClockHands(const Dial& dial, int hourWidth, int minuteWidth,
                                 int secondWidth) {
    const QString separator = QStringLiteral(":");
    // Values outside the clock's range are brought into it, so that every hand has a quadrant.
    const int hours = (NumberOr(FieldAt(shape_.Caption(), separator, 1), 0) % 12 + 12) % 12;
    const int minutes = std::clamp(NumberOr(FieldAt(shape_.Caption(), separator, 2), 25), 0, 59);
    const int seconds = std::clamp(NumberOr(FieldAt(shape_.Caption(), separator, 3), 40), 0, 59);

    const double a95 = static_cast<int>((dial.right - dial.cx + 1) * 0.95);
    const double b95 = static_cast<int>((dial.cy - dial.top + 1) * 0.95);
    // The hand's end on the ellipse of `fraction` of the dial, put into its quadrant.
    const auto handEnd = [&](double degrees, double fraction, HandQuadrant quadrant) {
        const QPoint p = QuarterEllipsePoint(a95 * fraction, b95 * fraction, degrees);
        switch (quadrant) {
            case HandQuadrant::UpperRight:
                return QPoint(dial.cx + p.x(), dial.cy - p.y());
            case HandQuadrant::LowerRight:
                return QPoint(dial.cx + p.x(), dial.cy + p.y());
            case HandQuadrant::LowerLeft:
                return QPoint(dial.cx - p.x(), dial.cy + p.y());
            case HandQuadrant::Left:
                return QPoint(dial.cx - p.x(), dial.cy);
            default:
                return QPoint(dial.cx - p.x(), dial.cy - p.y());
        }
    };
    static constexpr HandQuadrant HourQuadrants[] = {
        HandQuadrant::UpperRight, HandQuadrant::LowerRight, HandQuadrant::LowerLeft,
        HandQuadrant::UpperLeft};
    const QPoint hourEnd =
        handEnd((3 - hours - minutes / 60.0) * 30, 4.0 / 7, HourQuadrants[hours / 3]);
    canvas_.penWidth = hourWidth;
    DrawShadedLine(dial.cx, dial.cy, hourEnd.x(), hourEnd.y());
    const QPoint minuteEnd =
        handEnd((15 - minutes - seconds / 60.0) * 6, 5.0 / 7, SixtiethQuadrant(minutes));
    canvas_.penWidth = minuteWidth;
    DrawShadedLine(dial.cx, dial.cy, minuteEnd.x(), minuteEnd.y());
    const QPoint secondEnd = handEnd((15 - seconds) * 6, 6.0 / 7, SixtiethQuadrant(seconds));
    canvas_.penWidth = secondWidth;
    DrawShadedLine(dial.cx, dial.cy, secondEnd.x(), secondEnd.y());
}

void ShapeDrawer::DrawClock() {
    const Dial dial = ClockDial();
    DrawClockRim(dial);
    DrawClockFace(dial);
    DrawClockHands(dial, 3, 2, 1);
    const int size = canvas_.font.Size();
    Fitted(shape_.Caption(), shape_.TextAlign(),
           {dial.left, dial.bottom / 2, dial.right, dial.bottom});
    RestoreFontSize(size);
}

void ShapeDrawer::DrawCompass() {
    const Dial dial = ClockDial();
    // The rim: seven rings from black outside to white inside, the upper halves lit and the
    // lower halves shaded by the same steps.
    const TRect inner{dial.left, dial.top, dial.right, dial.bottom};
    canvas_.SetPen(2, clBlack, Qt::SolidLine);
    for (int step = 0; step < 7; ++step) {
        const int level = step * 255 / 6;
        const TRect ring = inner.Inflated(7 - step);
        canvas_.penColor = RGBColor(level, level, level);
        canvas_.Arc(ring, 0, 180);
        canvas_.penColor = RGBColor(level * 3 / 4, level * 3 / 4, level * 3 / 4);
        canvas_.Arc(ring, 180, 180);
    }
    DrawClockFace(dial);
    DrawClockHands(dial, P(), P(), 6);
    // The hub: rings in the colour, darkest outside.
    canvas_.SetPen(2, shape_.Color(), Qt::SolidLine);
    canvas_.brushClear = true;
    for (int r = 11; r >= 6; --r) {
        canvas_.penColor = ScaleColor(shape_.Color(), 12 - r, 6);
        canvas_.Ellipse({dial.cx - r, dial.cy - r, dial.cx + r, dial.cy + r});
    }
}

void ShapeDrawer::DrawHandwheel() {
    const Dial dial = ClockDial();
    DrawClockRim(dial);
    canvas_.SetPen(5, Inverse(), Qt::SolidLine);
    canvas_.Line(dial.cx, dial.top, dial.cx, dial.top + 6);
    canvas_.Line(dial.right, dial.cy, dial.right - 6, dial.cy);
    canvas_.Line(dial.cx, dial.bottom, dial.cx, dial.bottom - 6);
    canvas_.Line(dial.left, dial.cy, dial.left + 6, dial.cy);
    canvas_.SetPen(3, shape_.Color(), Qt::SolidLine);
    canvas_.Line(dial.cx, dial.top, dial.cx, dial.top + 4);
    canvas_.Line(dial.cx, dial.bottom, dial.cx, dial.bottom - 4);

    // The twelve radial marks keep the width and colour of the short ticks.
    const int a = dial.right - dial.cx + 1;
    const int b = dial.cy - dial.top + 1;
    for (int t = 0; t <= 90; t += 30) {
        const QPoint outer = QuarterEllipsePoint(a, b, t);
        const QPoint inner = QuarterEllipsePoint(a - 4, b - 4, t);
        for (int sx : {1, -1}) {
            for (int sy : {1, -1}) {
                canvas_.Line(dial.cx + sx * outer.x(), dial.cy + sy * outer.y(),
                             dial.cx + sx * inner.x(), dial.cy + sy * inner.y());
            }
        }
    }

    // The handle's ellipse is 5/7 of the inner marks' ellipse (the smaller of the two).
    const int n = NumberOr(shape_.Caption(), 0);
    const double fraction = 5.0 / 7;
    // Only n within the dial's sixty steps uses the angle; clamped, no caption overflows it.
    const QPoint p = QuarterEllipsePoint((a - 4) * fraction, (b - 4) * fraction,
                                         (15 - std::clamp(n, 0, 59)) * 6);
    canvas_.penWidth = P();
    if ((n >= 1 && n <= 29) || (n >= 31 && n <= 59)) {
        DrawShadedLine(dial.cx + p.x(), dial.cy - p.y(), dial.cx - p.x(), dial.cy + p.y());
        if (n <= 29) {
            DrawKnob(dial.cx - p.x(), dial.cy + p.y());
        } else {
            DrawKnob(dial.cx + p.x(), dial.cy - p.y());
        }
    } else {
        const int half = static_cast<int>((b - 4) * fraction);
        DrawShadedLine(dial.cx, dial.cy - half, dial.cx, dial.cy + half);
        DrawKnob(dial.cx, n == 30 ? dial.cy - half : dial.cy + half);
    }
}

// --- lines and grids --------------------------------------------------------------------------

void ShapeDrawer::DrawMultiLine() {
    // More lines than pixels would only draw over each other.
    const int extent = Upright() ? W() - P() : H() - P();
    const int count = static_cast<int>(
        std::clamp<qint64>(shape_.FrameWidth(), 1, std::max(2, std::abs(extent) + 1)));
    for (int k = 0; k < count; ++k) {
        const int at =
            count < 2 ? 0 : static_cast<int>(static_cast<qint64>(k) * extent / (count - 1));
        if (Upright()) {
            canvas_.Line(at, 0, at, H());
        } else {
            canvas_.Line(0, at, W(), at);
        }
    }
    const int size = canvas_.font.Size();
    Fitted(shape_.Caption(), shape_.TextAlign(), {0, 0, W(), H() - P() - 2});
    RestoreFontSize(size);
}

void ShapeDrawer::DrawTable() {
    const QString separator = QStringLiteral(",");
    const int w = W();
    const int h = H();
    const int p = P();
    // At least the two border lines, at most one line per pixel.
    const auto lines = [&](int field, int extent) {
        return std::clamp(NumberOr(FieldAt(shape_.Caption(), separator, field), 1), 2,
                          std::max(2, extent + 1));
    };
    const int rows = lines(1, h);
    const int columns = lines(2, w);
    for (int i = 0; i < rows; ++i) {
        int y = i == rows - 1 ? h - (p + 1) / 2
                              : static_cast<int>(static_cast<qint64>(h - p - 1) * i / (rows - 1));
        y = std::clamp(y, p / 2, std::max(p / 2, h - p / 2));
        canvas_.Line(0, y, w, y);
    }
    for (int i = 0; i < columns; ++i) {
        int x = i == columns - 1
                    ? w - (p + 1) / 2
                    : static_cast<int>(static_cast<qint64>(w - p - 1) * i / (columns - 1));
        x = std::clamp(x, p / 2, std::max(p / 2, w - (p + 1) / 2));
        canvas_.Line(x, 0, x, h);
    }
}

void ShapeDrawer::DrawGround() {
    const TRect inner{1, 1, W() - 1, H() - 1};
    const int a = (inner.Height() + 1) / 6;
    const int b = (inner.Width() + 1) / 6;
    canvas_.Line(W() / 2, inner.top, W() / 2, 3 * a);
    for (int i = 0; i < 3; ++i) {
        const int y = (3 + i) * a;
        canvas_.Line(inner.left + b * i, y, inner.right - b * i, y);
    }
}

void ShapeDrawer::DrawLight() {
    canvas_.SetBrushColor(shape_.Color());
    canvas_.penColor = Inverse();
    // An inside-frame pen keeps the whole stroke within the bounds.
    canvas_.Ellipse(TRect{0, 0, W(), H()}.Inflated(-(P() / 2)));

    const QString separator = QStringLiteral(",");
    const int n = FieldCount(shape_.Caption(), separator);
    if (n <= 1) {
        DrawText();
        return;
    }
    const int size = canvas_.font.Size();
    const double rowHeight = static_cast<double>(H()) / (n + 1);
    for (int i = 1; i <= n; ++i) {
        RestoreFontSize(size);
        Fitted(FieldAt(shape_.Caption(), separator, i), shape_.TextAlign(),
               {1, static_cast<int>((i - 1) * rowHeight), W() + 3,
                static_cast<int>((i + 1) * rowHeight)});
    }
    RestoreFontSize(size);
}

void ShapeDrawer::DrawHeightMeter() {
    const QString separator = QStringLiteral(",");
    const int w = W();
    const int h = H();
    const int p = P();
    const QString title = FieldAt(shape_.Caption(), separator, 1);
    // A full scale of zero or below has no scale to draw; it counts as the default.
    int fullScale = NumberOr(FieldAt(shape_.Caption(), separator, 2), 2000);
    if (fullScale <= 0) fullScale = 2000;
    const QString fullScaleText = QString::number(fullScale);
    const int digits = static_cast<int>(fullScaleText.size());
    const int value = static_cast<int>(std::min<quint32>(shape_.FrameWidth(), INT_MAX));

    const int th = canvas_.TextHeight(QStringLiteral("j"));
    const int q = std::min(canvas_.TextWidth(fullScaleText), w / 2);
    Fitted(title, shape_.TextAlign(), {1, 1, w - p - 1, th + 1});
    TRect valueBox{1, h - th - 1, w - p - 1, h - 1};
    Fitted(QString::number(value), shape_.TextAlign(), valueBox);
    if (shape_.ShowDot()) canvas_.Frame3D(valueBox, clWhite, clGray, 1);

    const TRect well{q, th + 1, w - p - 2, h - p - th - 2};
    DrawWell(well, 9);
    canvas_.SetPen(1, clBlack, Qt::SolidLine);
    canvas_.SetBrushColor(clWhite);

    const int bottom = h - p - th - 12;
    const int scaleX = q + 8;
    const int division = (well.Height() - 20) / 5 / 5 * 5;
    const int step = fullScale / 5 / 5 * 5;
    for (int i = 0; i <= 5; ++i) {
        const int y = bottom - i * division;
        canvas_.Line(scaleX - 10, y, scaleX, y);
        if (i < 5) {
            for (int k = 0; k <= 5; ++k) {
                const int minor = y - division / 5 * k;
                canvas_.Line(scaleX - 5, minor, scaleX, minor);
            }
        }
        const QString label = QStringLiteral("%1").arg(step * i, digits, 10, QLatin1Char('0'));
        Fitted(label, TMyShape::taRight, {1, y - division / 3 * 2, q, y + division / 3 * 2});
    }

    const int barTop = bottom - 1 - ToCoordinate(5.0 * division / fullScale * value);
    FillMirrorStrips({q + 10, barTop, w - p - 13, bottom}, shape_.Color());
    shape_.SetsID(QString::number(barTop));
    RestoreFontSize(shape_.FontSize());
}

}  // namespace

void DrawShapeMember(TMyShape& shape, ShapeCanvas& canvas) {
    ShapeDrawer(shape, canvas).Draw();
}

void DrawEffectText(ShapeCanvas& canvas, const QString& spec, const std::optional<QString>& text) {
    const QString separator = QStringLiteral("~~");
    const auto field = [&](int n) { return FieldAt(spec, separator, n); };
    const QString shown = text.value_or(field(1));
    const int x = NumberOr(field(2), 200);
    const int y = NumberOr(field(3), 400);
    const int angle = NumberOr(field(4), 0);
    SpecToFont(field(5), canvas.font);
    const TColor shade = SpecToColor(field(6));
    const int rings = NumberOr(field(7), 1);
    const int offsets = NumberOr(field(8), 0);
    if (offsets == INT_MIN) return;

    const TColor textColor = canvas.font.color;
    for (int k = std::abs(offsets); k >= 0; --k) {
        const int q = offsets < 0 ? -k : k;
        for (int r = rings; r >= 1; --r) {
            // The innermost ring would divide by zero; it takes the shade colour itself, as the
            // ring next to it does.
            const int divisor = r == 1 ? 1 : (r - 1) * (r - 1) * (r - 1);
            canvas.font.color =
                RGBColor(RedOf(shade) / divisor, GreenOf(shade) / divisor, BlueOf(shade) / divisor);
            for (int p = 1; p <= r; ++p) {
                canvas.RotatedTextOut(x + p + q - r, y + q - p, angle, shown);
                canvas.RotatedTextOut(x + p + q, y + p + q - r, angle, shown);
                canvas.RotatedTextOut(x + r + q - p, y + p + q, angle, shown);
                canvas.RotatedTextOut(x + q - p, y + r + q - p, angle, shown);
            }
        }
        canvas.font.color = textColor;
        canvas.RotatedTextOut(x + q, y + q, angle, shown);
    }
}

}  // namespace vardo
