// vardo-gallery OUT.png: renders every member of the own components into one labelled contact
// sheet: each shape of the shape control in each direction, each panel shape, and each frame
// style of the transparent button in each state, transparent and opaque.
#include "MyPanel.h"
#include "MyShape.h"
#include "MyTransBtnOld.h"

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QMetaEnum>
#include <QPainter>
#include <cstdio>
#include <functional>

namespace vardo {
namespace {

constexpr int SheetWidth = 1200;
constexpr int Margin = 16;
constexpr int TitleHeight = 34;
const QColor SheetColor(250, 250, 250);
const QColor LabelColor(40, 40, 40);
// The backdrop the transparent buttons are drawn on, so what they leave unpainted shows.
const QColor Backdrop(196, 214, 236);
const QColor ShapeCellColor(228, 232, 238);

template <typename Enum>
QString NameOf(Enum value) {
    return QString::fromLatin1(QMetaEnum::fromType<Enum>().valueToKey(value));
}

// A sample caption for the shapes that read numbers or fields from it.
QString SampleCaption(TMyShape::TDrawShape shape) {
    switch (shape) {
        case TMyShape::dsText:
            return "Text";
        case TMyShape::dsMultText:
            return "一,二,三";
        case TMyShape::dsClock:
        case TMyShape::dsCompass:
            return "10:10:30";
        case TMyShape::dsRectangle:
            return "0.6";
        case TMyShape::dsTable:
            return "3,4";
        case TMyShape::dsDiamond:
            return "1,2,3,4,5";
        case TMyShape::dsHeightMeter:
            return "H,2000";
        default:
            return NameOf(shape).mid(2, 3);
    }
}

// A 16 x 16 glyph on white (its transparent colour): a red disc with a yellow core, so the grey
// and the etched copies differ visibly from it.
QImage SampleGlyph() {
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(Qt::white);
    QPainter painter(&glyph);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 40, 40));
    painter.drawEllipse(2, 2, 12, 12);
    painter.setBrush(QColor(250, 210, 40));
    painter.drawEllipse(5, 5, 6, 6);
    return glyph;
}

class ContactSheet {
  public:
    ContactSheet() : sheet_(SheetWidth, 2400, QImage::Format_RGB32) {
        sheet_.fill(SheetColor);
        painter_.begin(&sheet_);
    }

    QImage Finish() {
        painter_.end();
        return sheet_.copy(0, 0, SheetWidth, y_ + Margin);
    }

    void Title(const QString& text) {
        y_ += Margin;
        QFont bold = painter_.font();
        bold.setPixelSize(18);
        bold.setBold(true);
        painter_.setFont(bold);
        painter_.setPen(LabelColor);
        painter_.drawText(QRect(Margin, y_, SheetWidth, TitleHeight), Qt::AlignVCenter, text);
        painter_.setFont(QFont());
        y_ += TitleHeight;
    }

    void Label(const QRect& box, const QString& text, Qt::Alignment align = Qt::AlignCenter) {
        QFont small = painter_.font();
        small.setPixelSize(12);
        painter_.setFont(small);
        painter_.setPen(LabelColor);
        painter_.drawText(box, align | Qt::TextWordWrap, text);
    }

    void Place(QWidget& widget, QPoint at) {
        widget.render(&painter_, at, QRegion(), QWidget::DrawChildren);
    }

    void Fill(const QRect& box, const QColor& color) { painter_.fillRect(box, color); }

    // widget placed on a cell of one colour.
    void PlaceOnCell(QWidget& widget, QPoint at, const QColor& cell) {
        Fill(QRect(at, widget.size()), cell);
        Place(widget, at);
    }

    // Whether every pixel of box still has the cell's colour.
    bool CellUnchanged(const QRect& box, const QColor& cell) const {
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                if (sheet_.pixelColor(x, y) != cell) return false;
            }
        }
        return true;
    }

    int Top() const { return y_; }
    void Advance(int height) { y_ += height; }

  private:
    QImage sheet_;
    QPainter painter_;
    int y_ = 0;
};

// Two blocks side by side, each a row per shape: its name, then the shape in each direction.
void DrawShapes(ContactSheet& sheet) {
    sheet.Title("TMyShape: every shape in every direction (ddUp, ddDown, ddLeft, ddRight)");
    constexpr QSize Cell(96, 68);
    constexpr int NameWidth = 110;
    constexpr int RowHeight = Cell.height() + 8;
    constexpr int BlockWidth = NameWidth + 4 * (Cell.width() + 8);
    const int perBlock = (TMyShape::DrawShapeCount + 1) / 2;
    const int top = sheet.Top();
    for (int index = 0; index < TMyShape::DrawShapeCount; ++index) {
        const auto shape = static_cast<TMyShape::TDrawShape>(index);
        const int left = Margin + (index / perBlock) * (BlockWidth + Margin);
        const int y = top + (index % perBlock) * RowHeight;
        sheet.Label(QRect(left, y, NameWidth - 6, Cell.height()), NameOf(shape),
                    Qt::AlignRight | Qt::AlignVCenter);
        for (int direction = TMyShape::ddUp; direction <= TMyShape::ddRight; ++direction) {
            TMyShape control;
            control.resize(Cell);
            control.SetDrawShape(shape);
            control.SetDrawDirection(static_cast<TMyShape::TDrawDirection>(direction));
            control.SetCaption(SampleCaption(shape));
            control.SetsID("ON,OFF");
            control.SetFontColor(clYellow);
            control.SetFrameWidth(shape == TMyShape::dsHeightMeter ? 1200 : 2);
            const QPoint at(left + NameWidth + direction * (Cell.width() + 8), y);
            sheet.PlaceOnCell(control, at, ShapeCellColor);
            if (sheet.CellUnchanged(QRect(at, Cell), ShapeCellColor)) {
                sheet.Label(QRect(at, Cell), "(no drawing\nof its own)");
            }
        }
    }
    sheet.Advance(perBlock * RowHeight);
}

// A rounded corner image on the white key colour: white inside the panel, the sheet outside.
QImage RoundCorner(TMyPanel::TEdge corner) {
    constexpr int Size = 12;
    QImage image(Size, Size, QImage::Format_RGB32);
    image.fill(SheetColor);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    const bool right = corner == TMyPanel::EdgeTopRight || corner == TMyPanel::EdgeBottomRight;
    const bool bottom = corner == TMyPanel::EdgeBottomLeft || corner == TMyPanel::EdgeBottomRight;
    painter.drawEllipse(QRect(right ? -Size : 0, bottom ? -Size : 0, 2 * Size, 2 * Size));
    return image;
}

// A row per panel setting, a column per panel shape.
void DrawPanels(ContactSheet& sheet) {
    sheet.Title("TMyPanel: every panel shape");
    constexpr QSize Cell(196, 64);
    constexpr int NameWidth = 150;
    struct Setting {
        const char* name;
        std::function<void(TMyPanel&)> apply;
    };
    const Setting settings[] = {
        {"BevelOuter raised, width 1", [](TMyPanel&) {}},
        {"outer raised, inner lowered, width 3",
         [](TMyPanel& panel) {
             panel.SetBevelInner(TMyPanel::bvLowered);
             panel.SetBevelWidth(3);
         }},
        {"no bevels, BorderWidth 4, caption top left",
         [](TMyPanel& panel) {
             panel.SetBevelOuter(TMyPanel::bvNone);
             panel.SetBorderWidth(4);
             panel.SetAlignmentHorz(TMyPanel::taLeftJustify);
             panel.SetAlignmentVert(TMyPanel::tavTop);
         }},
        {"rounded corner images, caption bottom right",
         [](TMyPanel& panel) {
             for (const auto corner : {TMyPanel::EdgeTopLeft, TMyPanel::EdgeTopRight,
                                       TMyPanel::EdgeBottomLeft, TMyPanel::EdgeBottomRight}) {
                 panel.SetEdge(corner, RoundCorner(corner));
             }
             panel.SetAlignmentHorz(TMyPanel::taRightJustify);
             panel.SetAlignmentVert(TMyPanel::tavBottom);
         }},
    };
    for (const Setting& setting : settings) {
        const int y = sheet.Top();
        sheet.Label(QRect(Margin, y, NameWidth - 8, Cell.height()), setting.name,
                    Qt::AlignRight | Qt::AlignVCenter);
        for (int shape = TMyPanel::ps3DButtonUp; shape <= TMyPanel::psNormal; ++shape) {
            TMyPanel panel;
            panel.resize(Cell);
            panel.SetColor(RGBColor(206, 220, 238));
            panel.SetPanelShape(static_cast<TMyPanel::TPanelShape>(shape));
            panel.SetCaption(NameOf(static_cast<TMyPanel::TPanelShape>(shape)));
            setting.apply(panel);
            sheet.Place(panel, QPoint(Margin + NameWidth + shape * (Cell.width() + 8), y));
        }
        sheet.Advance(Cell.height() + 10);
    }
}

enum class ButtonState { Up, Hot, Down, Disabled };

// Two blocks, transparent and opaque: a row per frame style, a column per state.
void DrawButtons(ContactSheet& sheet) {
    sheet.Title("TTransparentButton: every frame style in each state, transparent and opaque");
    constexpr QSize Cell(100, 48);
    constexpr int NameWidth = 80;
    constexpr int ColumnWidth = Cell.width() + 20;
    constexpr int BlockWidth = NameWidth + 4 * ColumnWidth;
    const char* stateNames[] = {"up", "hot", "down", "disabled"};
    const QImage glyph = SampleGlyph();
    for (int look = 0; look < 2; ++look) {
        const int left = Margin + look * (BlockWidth + Margin);
        sheet.Label(QRect(left, sheet.Top(), BlockWidth, 20),
                    look == 0 ? "Transparent = true" : "Transparent = false");
        for (int state = 0; state < 4; ++state) {
            sheet.Label(
                QRect(left + NameWidth + state * ColumnWidth, sheet.Top() + 20, Cell.width(), 18),
                stateNames[state]);
        }
    }
    sheet.Advance(40);
    for (int style = 0; style < TransparentButtonBase::FrameStyleCount; ++style) {
        const int y = sheet.Top();
        for (int look = 0; look < 2; ++look) {
            const int left = Margin + look * (BlockWidth + Margin);
            sheet.Label(QRect(left, y, NameWidth - 8, Cell.height()),
                        NameOf(static_cast<TransparentButtonBase::TFrameStyle>(style)),
                        Qt::AlignRight | Qt::AlignVCenter);
            for (int state = 0; state < 4; ++state) {
                TTransparentButton button;
                button.resize(Cell);
                button.SetFrameStyle(static_cast<TransparentButtonBase::TFrameStyle>(style));
                button.SetTransparent(look == 0);
                button.SetGlyph(glyph);
                button.SetTextAlign(TTransparentButton::ttaRight);
                button.SetCaption("&Button");
                switch (static_cast<ButtonState>(state)) {
                    case ButtonState::Up:
                        break;
                    case ButtonState::Hot: {
                        QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
                        QApplication::sendEvent(&button, &enter);
                        break;
                    }
                    case ButtonState::Down:
                        button.SetDown(true);
                        break;
                    case ButtonState::Disabled:
                        button.setEnabled(false);
                        break;
                }
                const QPoint at(left + NameWidth + state * ColumnWidth, y);
                sheet.Fill(QRect(at - QPoint(6, 6), Cell + QSize(12, 12)), Backdrop);
                sheet.Place(button, at);
            }
        }
        sheet.Advance(Cell.height() + 16);
    }
}

}  // namespace
}  // namespace vardo

int main(int argc, char* argv[]) {
    // No window is shown: the sheet renders without a display unless a platform is chosen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vardo-gallery OUT.png\n");
        return 2;
    }
    vardo::ContactSheet sheet;
    vardo::DrawShapes(sheet);
    vardo::DrawPanels(sheet);
    vardo::DrawButtons(sheet);
    if (!sheet.Finish().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "vardo-gallery: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
