#include "SkinArt.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace vardo {
namespace {

// Magenta: the transparent colour of skin images. Shapes are drawn without antialiasing so that
// no pixel mixes magenta into a visible colour.
const QColor kKey(0xFF, 0x00, 0xFF);

// The element states our skins draw, in the frame order of each element (frames count from 1).
// Push buttons and tool-bar buttons: normal, pressed, disabled, hot, focused.
enum ButtonFrame { bfNormal = 1, bfPressed, bfDisabled, bfHot, bfFocused };
// Combo buttons, sunken edges, scroll shafts and arrows, spin buttons: normal, hot, pressed,
// disabled.
enum PartFrame { pfNormal = 1, pfHot, pfPressed, pfDisabled };

using FramePainter = std::function<void(QPainter&, const QRect&, int frame)>;

QImage Canvas(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kKey);
    return image;
}

// frames cells of the given size side by side (or stacked), each drawn by draw.
QImage Frames(int frames, QSize cell, const FramePainter& draw, bool stacked = false) {
    QImage image = stacked ? Canvas(cell.width(), cell.height() * frames)
                           : Canvas(cell.width() * frames, cell.height());
    QPainter painter(&image);
    for (int frame = 1; frame <= frames; ++frame) {
        const QPoint origin = stacked ? QPoint(0, (frame - 1) * cell.height())
                                      : QPoint((frame - 1) * cell.width(), 0);
        painter.save();
        painter.setClipRect(QRect(origin, cell));
        draw(painter, QRect(origin, cell), frame);
        painter.restore();
    }
    return image;
}

QBrush Vertical(const QRect& r, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(r.topLeft(), r.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return QBrush(gradient);
}

void RoundRect(QPainter& p, const QRect& r, int radius, const QBrush& brush) {
    if (r.isEmpty()) return;
    p.setPen(Qt::NoPen);
    p.setBrush(brush);
    if (radius <= 0) {
        p.fillRect(r, brush);
    } else {
        p.drawRoundedRect(QRectF(r), radius, radius);
    }
}

// A filled box with an outline of the look's line width.
void Box(QPainter& p, const QRect& r, const QColor& top, const QColor& bottom,
         const QColor& outline, int radius, int lineWidth) {
    RoundRect(p, r, radius, outline);
    const QRect inner = r.adjusted(lineWidth, lineWidth, -lineWidth, -lineWidth);
    RoundRect(p, inner, std::max(radius - lineWidth, 0), Vertical(inner, top, bottom));
}

enum class Glyph { Close, Maximise, Restore, Minimise, Up, Down, Left, Right, Check, Dot, Help };

// A glyph centred in r, about size pixels across.
void DrawGlyph(QPainter& p, Glyph glyph, const QRect& r, const QColor& colour, int size,
               int lineWidth) {
    p.save();
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    const QPoint c = r.center();
    const int h = size / 2;
    const QRect box(c.x() - h, c.y() - h, size, size);
    auto line = [&](QPoint a, QPoint b) {
        p.setPen(QPen(colour, lineWidth, Qt::SolidLine, Qt::SquareCap));
        p.drawLine(a, b);
        p.setPen(Qt::NoPen);
    };
    auto frame = [&](const QRect& f) {
        p.fillRect(f.left(), f.top(), f.width(), lineWidth + 1, colour);
        p.fillRect(f.left(), f.top(), lineWidth, f.height(), colour);
        p.fillRect(f.right() - lineWidth + 1, f.top(), lineWidth, f.height(), colour);
        p.fillRect(f.left(), f.bottom() - lineWidth + 1, f.width(), lineWidth, colour);
    };
    switch (glyph) {
        case Glyph::Close:
            line(box.topLeft(), box.bottomRight());
            line(box.topRight(), box.bottomLeft());
            break;
        case Glyph::Maximise:
            frame(box);
            break;
        case Glyph::Restore: {
            // The front window whole, of the one behind only what shows above and right of it.
            const QRect front(box.left(), box.top() + 3, size - 3, size - 3);
            frame(front);
            p.fillRect(box.left() + 3, box.top(), size - 3, lineWidth, colour);
            p.fillRect(box.right() - lineWidth + 1, box.top(), lineWidth, size - 3, colour);
            p.fillRect(box.left() + 3, box.top(), lineWidth, 3, colour);
            break;
        }
        case Glyph::Minimise:
            p.fillRect(box.left(), box.bottom() - lineWidth, size, lineWidth + 1, colour);
            break;
        case Glyph::Up:
        case Glyph::Down:
        case Glyph::Left:
        case Glyph::Right: {
            const int a = std::max(size / 2, 2);
            QPolygon triangle;
            if (glyph == Glyph::Up)
                triangle << QPoint(c.x() - a, c.y() + a / 2) << QPoint(c.x() + a, c.y() + a / 2)
                         << QPoint(c.x(), c.y() - a / 2 - 1);
            if (glyph == Glyph::Down)
                triangle << QPoint(c.x() - a, c.y() - a / 2) << QPoint(c.x() + a, c.y() - a / 2)
                         << QPoint(c.x(), c.y() + a / 2 + 1);
            if (glyph == Glyph::Left)
                triangle << QPoint(c.x() + a / 2, c.y() - a) << QPoint(c.x() + a / 2, c.y() + a)
                         << QPoint(c.x() - a / 2 - 1, c.y());
            if (glyph == Glyph::Right)
                triangle << QPoint(c.x() - a / 2, c.y() - a) << QPoint(c.x() - a / 2, c.y() + a)
                         << QPoint(c.x() + a / 2 + 1, c.y());
            p.drawPolygon(triangle);
            break;
        }
        case Glyph::Check:
            line(QPoint(box.left(), c.y()), QPoint(box.left() + h - 1, box.bottom() - 1));
            line(QPoint(box.left() + h - 1, box.bottom() - 1), QPoint(box.right(), box.top() + 1));
            break;
        case Glyph::Dot:
            p.drawEllipse(QRect(c.x() - h / 2, c.y() - h / 2, h + 1, h + 1));
            break;
        case Glyph::Help:
            p.setPen(QPen(colour, lineWidth));
            p.drawArc(QRect(box.left() + 2, box.top(), size - 4, size / 2 + 1), 180 * 16,
                      -270 * 16);
            p.fillRect(c.x() - lineWidth / 2, c.y() + 1, lineWidth, size / 4, colour);
            p.fillRect(c.x() - lineWidth / 2, box.bottom() - lineWidth + 1, lineWidth, lineWidth,
                       colour);
            break;
    }
    p.restore();
}

// Everything of one skin is drawn by one SkinPainter holding its look.
class SkinPainter {
  public:
    explicit SkinPainter(const SkinLook& look) : l_(look) {}

    DrawnSkin Draw() {
        DrawWindowFrame();
        DrawCaptionButtons();
        DrawButtons();
        DrawControls();
        DrawScrolling();
        DrawMenus();
        skin_.definition = Definition();
        return std::move(skin_);
    }

  private:
    static constexpr int kCaption = 28;  // caption height
    static constexpr int kEdge = 4;      // left, right and bottom frame width
    static constexpr QSize kCaptionButton{20, 18};
    static constexpr int kCaptionButtonY = 5;

    int R(int limit) const { return std::min(l_.radius, limit); }
    int W() const { return l_.lineWidth; }

    // A raised face in state frame (ButtonFrame numbering).
    void RaisedFace(QPainter& p, const QRect& r, int frame, int radius) {
        switch (frame) {
            case bfPressed:
                Box(p, r, l_.faceDark, l_.face, l_.accent, radius, W());
                break;
            case bfDisabled:
                Box(p, r, l_.face, l_.face, l_.textDisabled, radius, W());
                break;
            case bfHot:
                Box(p, r, l_.faceLight, l_.face, l_.accent, radius, W());
                break;
            case bfFocused:
                Box(p, r, l_.accent, l_.accent, l_.accent, radius, W());
                Box(p, r.adjusted(W(), W(), -W(), -W()), l_.faceLight, l_.faceDark, l_.border,
                    std::max(radius - W(), 0), W());
                break;
            default:
                Box(p, r, l_.faceLight, l_.faceDark, l_.border, radius, W());
        }
    }

    // A face in PartFrame numbering.
    void PartFace(QPainter& p, const QRect& r, int frame, int radius) {
        static constexpr int kAsButton[] = {0, bfNormal, bfHot, bfPressed, bfDisabled};
        RaisedFace(p, r, kAsButton[frame], radius);
    }

    QColor PartGlyphColour(int frame) const {
        return frame == pfDisabled ? l_.textDisabled : frame == pfHot ? l_.accent : l_.text;
    }

    // The window mock whose slices are the four frame edges: caption, side and bottom edges
    // around a client area, rounded at the top.
    QImage WindowMock(bool active) {
        const int width = 120, height = kCaption + 12 + kEdge;
        QImage image = Canvas(width, height);
        QPainter p(&image);
        const QColor frame = active ? l_.frame : l_.frameInactive;
        const QRect all(0, 0, width, height);
        RoundRect(p, all, R(8), l_.border);
        p.fillRect(0, height / 2, width, height / 2, l_.border);
        const QRect inner = all.adjusted(W(), W(), -W(), -W());
        RoundRect(p, inner, std::max(R(8) - W(), 0), frame);
        p.fillRect(inner.left(), height / 2, inner.width(), inner.bottom() - height / 2 + 1, frame);
        const QRect caption(W(), W(), width - 2 * W(), kCaption - W());
        p.save();
        QPainterPath clip;
        clip.addRoundedRect(QRectF(inner), std::max(R(8) - W(), 0), std::max(R(8) - W(), 0));
        clip.addRect(QRectF(inner.left(), height / 2, inner.width(), height / 2));
        p.setClipPath(clip.simplified());
        p.fillRect(caption, CaptionBrush(active));
        p.restore();
        p.fillRect(kEdge - 1, kCaption - 1, width - 2 * kEdge + 2, 1,
                   active ? l_.accent : l_.shadow);
        p.fillRect(QRect(kEdge, kCaption, width - 2 * kEdge, 12), l_.face);
        return image;
    }

    QBrush CaptionBrush(bool active) const {
        return Vertical(QRect(0, 0, 1, kCaption), active ? l_.captionTop : l_.captionInactiveTop,
                        active ? l_.captionBottom : l_.captionInactiveBottom);
    }

    void DrawWindowFrame() {
        const QImage active = WindowMock(true), inactive = WindowMock(false);
        const int width = active.width(), height = active.height();
        auto slices = [&](const QRect& r, bool stacked) {
            return Frames(
                2, r.size(),
                [&](QPainter& p, const QRect& cell, int frame) {
                    p.drawImage(cell.topLeft(), frame == 1 ? active : inactive, r);
                },
                stacked);
        };
        skin_.images["left.bmp"] = slices(QRect(0, 0, kEdge, height), false);
        skin_.images["right.bmp"] = slices(QRect(width - kEdge, 0, kEdge, height), false);
        skin_.images["top.bmp"] = slices(QRect(kEdge, 0, width - 2 * kEdge, kCaption), true);
        skin_.images["bottom.bmp"] =
            slices(QRect(kEdge, height - kEdge, width - 2 * kEdge, kEdge), true);
    }

    // Caption buttons: normal, pressed, hot, over the active caption's gradient.
    QImage CaptionButton(Glyph glyph, bool close) {
        return Frames(3, kCaptionButton, [&](QPainter& p, const QRect& r, int frame) {
            p.setBrushOrigin(r.left(), -kCaptionButtonY);
            p.fillRect(r, CaptionBrush(true));
            const QRect face = r.adjusted(1, 0, -1, 0);
            if (frame == 2) Box(p, face, l_.faceDark, l_.face, l_.border, R(3), W());
            if (frame == 3) {
                const QColor hot = close ? l_.closeHot : l_.faceLight;
                Box(p, face, hot, hot, close ? l_.closeHot : l_.accent, R(3), W());
            }
            const QColor ink = frame == 2              ? l_.text
                               : (frame == 3 && close) ? QColor(Qt::white)
                                                       : l_.captionText;
            DrawGlyph(p, glyph, face.translated(frame == 2 ? 1 : 0, frame == 2 ? 1 : 0), ink, 10,
                      glyph == Glyph::Close ? W() + 1 : W());
        });
    }

    void DrawCaptionButtons() {
        skin_.images["close.bmp"] = CaptionButton(Glyph::Close, true);
        skin_.images["maximise.bmp"] = CaptionButton(Glyph::Maximise, false);
        skin_.images["restore.bmp"] = CaptionButton(Glyph::Restore, false);
        skin_.images["minimise.bmp"] = CaptionButton(Glyph::Minimise, false);
        // The MDI child buttons in the menu bar: minimise, restore and close, 4 frames each.
        const Glyph mdi[3] = {Glyph::Minimise, Glyph::Restore, Glyph::Close};
        skin_.images["mdicontrols.bmp"] =
            Frames(12, QSize(16, 14), [&](QPainter& p, const QRect& r, int frame) {
                const int state = (frame - 1) % 4 + 1;
                p.fillRect(r, l_.face);  // caption buttons are drawn opaque
                PartFace(p, r, state, R(2));
                DrawGlyph(p, mdi[(frame - 1) / 4], r, PartGlyphColour(state), 8, W());
            });
    }

    void DrawButtons() {
        skin_.images["button.bmp"] =
            Frames(5, QSize(24, 24),
                   [&](QPainter& p, const QRect& r, int frame) { RaisedFace(p, r, frame, R(5)); });
        // Check and radio glyphs: unchecked, checked, unchecked disabled, checked disabled.
        auto mark = [&](bool radio) {
            return Frames(4, QSize(13, 13), [&, radio](QPainter& p, const QRect& r, int frame) {
                const bool disabled = frame > 2, checked = frame % 2 == 0;
                const QColor outline = disabled ? l_.textDisabled : l_.border;
                const QColor fill = disabled ? l_.face : l_.field;
                if (radio) {
                    p.setPen(Qt::NoPen);
                    p.setBrush(outline);
                    p.drawEllipse(QRectF(r));
                    p.setBrush(fill);
                    p.drawEllipse(QRectF(r.adjusted(W(), W(), -W(), -W())));
                    if (checked) {
                        p.setBrush(disabled ? l_.textDisabled : l_.accent);
                        p.drawEllipse(QRectF(r.adjusted(4, 4, -4, -4)));
                    }
                } else {
                    Box(p, r, fill, fill, outline, R(2), W());
                    if (checked) {
                        DrawGlyph(p, Glyph::Check, r, disabled ? l_.textDisabled : l_.accent, 7, 2);
                    }
                }
            });
        };
        skin_.images["check.bmp"] = mark(false);
        skin_.images["radio.bmp"] = mark(true);
    }

    void DrawControls() {
        // Progress: the trough, then the bar; and the chunk the bar is filled with.
        skin_.images["progress.bmp"] =
            Frames(2, QSize(20, 16), [&](QPainter& p, const QRect& r, int frame) {
                if (frame == 1)
                    Box(p, r, l_.field, l_.field, l_.border, R(3), W());
                else
                    Box(p, r, l_.accent, l_.accent.darker(130), l_.border, R(3), W());
            });
        skin_.images["chunk.bmp"] = Frames(1, QSize(10, 16), [&](QPainter& p, const QRect& r, int) {
            p.fillRect(r.adjusted(0, 2, -2, -2), Vertical(r, l_.accent.lighter(120), l_.accent));
        });
        // Group box edge (normal, disabled) with a transparent inside; its caption plate.
        skin_.images["groupedge.bmp"] =
            Frames(2, QSize(20, 20), [&](QPainter& p, const QRect& r, int frame) {
                RoundRect(p, r, R(4), frame == 1 ? l_.shadow : l_.textDisabled);
                RoundRect(p, r.adjusted(W(), W(), -W(), -W()), std::max(R(4) - W(), 0),
                          frame == 1 ? l_.light : l_.face);
                p.fillRect(r.adjusted(2 * W(), 2 * W(), -2 * W(), -2 * W()), kKey);
            });
        skin_.images["grouplabel.bmp"] =
            Frames(1, QSize(30, 20), [&](QPainter& p, const QRect& r, int) {
                Box(p, r.adjusted(0, 2, 0, -2), l_.faceLight, l_.face, l_.border, R(6), W());
            });
        // Tabs: normal, selected, disabled, hot, focused (the selected tab while its bar has the
        // focus); open at the bottom, where the selected tab runs into its page.
        skin_.images["tabs.bmp"] =
            Frames(5, QSize(30, 24), [&](QPainter& p, const QRect& r, int frame) {
                const bool selected = frame == 2 || frame == 5;
                // The tab reaches below its cell, so only its top corners are rounded.
                const QRect tab = r.adjusted(0, selected ? 0 : 2, 0, 6);
                RaisedFace(p, tab, frame == 2 ? bfNormal : frame, R(5));
                if (selected) p.fillRect(tab.left() + 2, tab.top(), tab.width() - 4, 2, l_.accent);
                p.fillRect(r.left(), r.bottom(), r.width(), 1, selected ? l_.face : l_.border);
            });
        skin_.images["pane.bmp"] = Frames(1, QSize(20, 20), [&](QPainter& p, const QRect& r, int) {
            Box(p, r, l_.face, l_.face, l_.border, 0, W());
        });
        // Status bar: the bar, a sunken panel, the size grip.
        skin_.images["status.bmp"] =
            Frames(3, QSize(20, 20), [&](QPainter& p, const QRect& r, int frame) {
                if (frame == 1) {
                    p.fillRect(r, Vertical(r, l_.faceLight, l_.face));
                    p.fillRect(r.left(), r.top(), r.width(), W(), l_.shadow);
                } else if (frame == 2) {
                    Box(p, r.adjusted(0, 2, 0, -2), l_.faceDark, l_.faceDark, l_.shadow, R(2), W());
                } else {
                    p.fillRect(r, l_.face);
                    for (int i = 0; i < 3; ++i) {
                        for (int j = 0; j <= i; ++j) {
                            p.fillRect(r.right() - 4 - 4 * j, r.bottom() - 4 - 4 * (2 - i), 2, 2,
                                       l_.shadow);
                        }
                    }
                }
            });
        // Flat tool-bar buttons: nothing until hot, pressed or checked.
        skin_.images["toolbars.bmp"] =
            Frames(5, QSize(24, 24), [&](QPainter& p, const QRect& r, int frame) {
                if (frame == bfNormal || frame == bfDisabled) return;
                RaisedFace(p, r, frame, R(4));
            });
        // Combo box: its button, the sunken edge, and the glyphs drawn on them.
        skin_.images["combobutton.bmp"] =
            Frames(4, QSize(18, 21),
                   [&](QPainter& p, const QRect& r, int frame) { PartFace(p, r, frame, R(3)); });
        skin_.images["sunken.bmp"] =
            Frames(4, QSize(20, 21), [&](QPainter& p, const QRect& r, int frame) {
                const QColor outline = frame == pfDisabled ? l_.textDisabled
                                       : frame == pfNormal ? l_.border
                                                           : l_.accent;
                Box(p, r, frame == pfDisabled ? l_.face : l_.field,
                    frame == pfDisabled ? l_.face : l_.field, outline, R(3), W());
            });
        skin_.images["extra.bmp"] =
            Frames(5, QSize(9, 9), [&](QPainter& p, const QRect& r, int frame) {
                DrawGlyph(p, Glyph::Down, r, frame == 5 ? l_.shadow : PartGlyphColour(frame), 8, 1);
            });
        skin_.images["header.bmp"] =
            Frames(5, QSize(24, 20), [&](QPainter& p, const QRect& r, int frame) {
                p.fillRect(r, Vertical(r, frame == bfHot ? l_.faceLight : l_.face,
                                       frame == bfPressed ? l_.faceLight : l_.faceDark));
                p.fillRect(r.left(), r.bottom() - W() + 1, r.width(), W(), l_.border);
                p.fillRect(r.right(), r.top() + 3, 1, r.height() - 6, l_.shadow);
            });
        // Track-bar thumbs, each in 5 frames (normal, pressed, disabled, hot, focused).
        const struct {
            const char* file;
            QSize size;
        } thumbs[] = {{"thumbhorz.bmp", {11, 20}}, {"thumbvert.bmp", {20, 11}},
                      {"thumbleft.bmp", {20, 11}}, {"thumbright.bmp", {20, 11}},
                      {"thumbup.bmp", {11, 20}},   {"thumbdown.bmp", {11, 20}}};
        for (const auto& thumb : thumbs) {
            skin_.images[thumb.file] =
                Frames(5, thumb.size, [&](QPainter& p, const QRect& r, int frame) {
                    RaisedFace(p, r, frame, R(3));
                    if (frame != bfDisabled) {
                        const QRect grip = r.adjusted(r.width() / 3, r.height() / 3, -r.width() / 3,
                                                      -r.height() / 3);
                        p.fillRect(grip, l_.accent);
                    }
                });
        }
        skin_.images["track.bmp"] = Channel(QSize(20, 6));
        skin_.images["trackvert.bmp"] = Channel(QSize(6, 20));
        // Spin buttons: 4 frames of the first arrow, then 4 of the second.
        auto spin = [&](QSize size, Glyph first, Glyph second) {
            return Frames(8, size, [&, first, second](QPainter& p, const QRect& r, int frame) {
                const int state = (frame - 1) % 4 + 1;
                PartFace(p, r, state, R(2));
                DrawGlyph(p, frame <= 4 ? first : second, r, PartGlyphColour(state), 8, 1);
            });
        };
        skin_.images["updownhorz.bmp"] = spin(QSize(16, 12), Glyph::Left, Glyph::Right);
        skin_.images["updownvert.bmp"] = spin(QSize(16, 10), Glyph::Up, Glyph::Down);
    }

    QImage Channel(QSize size) {
        return Frames(1, size, [&](QPainter& p, const QRect& r, int) {
            Box(p, r, l_.field, l_.field, l_.shadow, R(2), W());
        });
    }

    void DrawScrolling() {
        // Arrows: up, down, left, right (4 frames each: normal, hot, pressed, disabled), then the
        // size grip and the corner between two bars, then plain faces up to 23 frames.
        const Glyph arrows[4] = {Glyph::Up, Glyph::Down, Glyph::Left, Glyph::Right};
        skin_.images["scrollbar.bmp"] =
            Frames(23, QSize(16, 16), [&](QPainter& p, const QRect& r, int frame) {
                if (frame <= 16) {
                    const int state = (frame - 1) % 4 + 1;
                    PartFace(p, r, state, R(2));
                    DrawGlyph(p, arrows[(frame - 1) / 4], r, PartGlyphColour(state), 10, 1);
                } else {
                    p.fillRect(r, l_.face);
                    if (frame == 17) {
                        for (int i = 0; i < 3; ++i) {
                            p.fillRect(r.right() - 3 - 4 * i, r.bottom() - 3, 2, 2, l_.shadow);
                            p.fillRect(r.right() - 3, r.bottom() - 3 - 4 * i, 2, 2, l_.shadow);
                        }
                    }
                }
            });
        auto shaft = [&](QSize size) {
            return Frames(4, size, [&](QPainter& p, const QRect& r, int frame) {
                p.fillRect(r, frame == pfPressed ? l_.shadow : l_.field);
                if (frame == pfHot) p.fillRect(r.adjusted(2, 2, -2, -2), l_.faceDark);
            });
        };
        skin_.images["horzscroll.bmp"] = shaft(QSize(32, 16));
        skin_.images["vertscroll.bmp"] = shaft(QSize(16, 32));
        auto thumb = [&](QSize size) {
            return Frames(3, size, [&](QPainter& p, const QRect& r, int frame) {
                const QColor fill = frame == 1   ? l_.faceLight
                                    : frame == 2 ? l_.accent
                                                 : l_.accent.darker(120);
                Box(p, r.adjusted(1, 1, -1, -1), fill, frame == 1 ? l_.face : fill, l_.border, R(4),
                    W());
            });
        };
        skin_.images["horzthumb.bmp"] = thumb(QSize(24, 16));
        skin_.images["vertthumb.bmp"] = thumb(QSize(16, 24));
    }

    void DrawMenus() {
        skin_.images["menubar.bmp"] =
            Frames(2, QSize(20, 20), [&](QPainter& p, const QRect& r, int frame) {
                p.fillRect(r, Vertical(r, frame == 1 ? l_.faceLight : l_.face, l_.face));
                p.fillRect(r.left(), r.bottom(), r.width(), 1, l_.shadow);
            });
        // Menu items: normal (transparent), pressed, disabled (transparent), selected, default.
        skin_.images["menuitem.bmp"] =
            Frames(5, QSize(24, 20), [&](QPainter& p, const QRect& r, int frame) {
                if (frame == 2 || frame == 4) Box(p, r, l_.accent, l_.accent, l_.accent, R(3), W());
                if (frame == 5) {
                    RoundRect(p, r, R(3), l_.accent);
                    RoundRect(p, r.adjusted(W(), W(), -W(), -W()), std::max(R(3) - W(), 0), kKey);
                }
            });
        skin_.images["menuback.bmp"] =
            Frames(1, QSize(24, 24), [&](QPainter& p, const QRect& r, int) {
                Box(p, r, l_.field, l_.field, l_.border, 0, W());
                p.fillRect(r.left() + W(), r.top() + W(), 2, r.height() - 2 * W(), l_.accent);
            });
    }

    QString Definition() const;

    const SkinLook& l_;
    DrawnSkin skin_;
};

// A colour as skin definitions write it: red, green and blue separated by blanks.
QString Rgb(const QColor& c) {
    return QStringLiteral("%1 %2 %3").arg(c.red()).arg(c.green()).arg(c.blue());
}

QString SkinPainter::Definition() const {
    QStringList ini;
    auto section = [&](const QString& name) {
        if (!ini.isEmpty()) ini << QString();
        ini << QStringLiteral("[%1]").arg(name);
    };
    auto key = [&](const QString& name, const QVariant& value) {
        ini << QStringLiteral("%1=%2").arg(name, value.toString());
    };
    auto element = [&](const QString& name, const QString& image, int left, int top, int right,
                       int bottom, int trans, int tile = 0) {
        section(name);
        key("Image", image);
        key("LeftWidth", left);
        key("TopHeight", top);
        key("RightWidth", right);
        key("BottomHeight", bottom);
        key("Trans", trans);
        key("Tile", tile);
    };

    ini << QStringLiteral("; %1: drawn by vardo-skingen").arg(l_.displayName);
    section("TitlebarSkin");
    key("SkinName", l_.displayName);

    section("Personality");
    for (const char* edge : {"Left", "Right"}) {
        key(edge, QString::fromLatin1(edge).toLower() + ".bmp");
        key(QString(edge) + "TopHeight", kCaption);
        key(QString(edge) + "BotHeight", kEdge);
        key(QString(edge) + "Frame", 2);
        key(QString(edge) + "Stretch", 1);
        key(QString(edge) + "Trans", 1);
    }
    for (const char* edge : {"Top", "Bottom"}) {
        key(edge, QString::fromLatin1(edge).toLower() + ".bmp");
        key(QString(edge) + "TopHeight", 8);
        key(QString(edge) + "BotHeight", 8);
        key(QString(edge) + "Frame", 2);
        key(QString(edge) + "Stretch", 1);
        key(QString(edge) + "Trans", 1);
    }
    key("TextShift", 26);
    key("TextShiftVert", 0);
    key("TextRightClip", 76);
    key("TextAlignment", 0);
    key("Textbackground", 0);
    for (const auto& [prefix, colour] : {std::pair{"ActiveText", l_.captionText},
                                         std::pair{"InActiveText", l_.captionTextInactive}}) {
        key(QString(prefix) + "R", colour.red());
        key(QString(prefix) + "G", colour.green());
        key(QString(prefix) + "B", colour.blue());
    }
    key("menuBar", "menubar.bmp");
    key("TileMenu", 0);
    key("TileLeftMenu", 2);
    key("TileRightMenu", 2);

    section("Fonts");
    key("FontHeight", 14);

    section("Colours");
    key("WindowText", Rgb(l_.fieldText));
    key("ButtonFace", Rgb(l_.face));
    key("Scrollbar", Rgb(l_.field));
    key("HilightText", Rgb(l_.accentText));
    key("Hilight", Rgb(l_.accent));
    key("Menubar", Rgb(l_.face));
    key("Menu", Rgb(l_.field));
    key("MenuText", Rgb(l_.fieldText));
    key("ButtonText", Rgb(l_.text));
    key("ButtonHilight", Rgb(l_.light));
    key("Buttonlight", Rgb(l_.faceLight));
    key("ButtonShadow", Rgb(l_.textDisabled));
    key("ButtonDkShadow", Rgb(l_.border));
    key("MenuBarText", Rgb(l_.text));
    key("TitleTextActive", Rgb(l_.captionText));
    key("TitleTextNoActive", Rgb(l_.captionTextInactive));

    // Caption buttons, from the right: close, maximise or restore, minimise; the system menu at
    // the left shows the window's icon.
    auto captionButton = [&](const QString& name, int action, int x, int visibility,
                             int visibility1, const QString& image) {
        section(name);
        key("Action", action);
        key("Align", image.isEmpty() ? 0 : 1);
        key("Xcoord", x);
        key("Ycoord", image.isEmpty() ? 6 : kCaptionButtonY);
        key("Visibility", visibility);
        key("Visibility1", visibility1);
        if (!image.isEmpty()) key("ButtonImage", image);
    };
    captionButton("Button.SysMenu", 3, 6, 0, 0, QString());
    captionButton("Button.Close", 0, 26, 0, 0, "close.bmp");
    captionButton("Button.Maximise", 1, 48, 8, 2, "maximise.bmp");
    captionButton("Button.Restore", 1, 48, 8, 1, "restore.bmp");
    captionButton("Button.Minimise", 2, 70, 6, 0, "minimise.bmp");
    section("MDICONTROLS");
    key("Image", "mdicontrols.bmp");

    section("Buttons");
    key("Bitmap", "button.bmp");
    key("LeftWidth", 5);
    key("TopHeight", 5);
    key("RightWidth", 5);
    key("BottomHeight", 5);
    key("Trans", 1);
    key("Tile", 0);
    key("CheckButton", "check.bmp");
    key("RadioButton", "radio.bmp");
    key("NormalColour2", Rgb(l_.text));
    key("MouseOverColour2", Rgb(l_.text));
    key("PressedColour2", Rgb(l_.text));

    section("Progress");
    key("Bitmap", "progress.bmp");
    key("Style", 0);
    key("LeftWidth", 3);
    key("TopHeight", 3);
    key("RightWidth", 3);
    key("BottomHeight", 3);
    key("Trans", 1);
    element("Progress.Chunk", "chunk.bmp", 0, 2, 0, 2, 1, 1);
    element("GroupBoxEdge", "groupedge.bmp", 5, 5, 5, 5, 1);
    element("GroupBox", "grouplabel.bmp", 6, 4, 6, 4, 1);
    key("NormalColour", Rgb(l_.text));
    element("Tabs", "tabs.bmp", 5, 5, 5, 3, 1);
    key("Border", "pane.bmp");
    element("StatusBarEdges", "status.bmp", 3, 3, 3, 3, 1);
    element("Tab.Pane", "pane.bmp", 3, 3, 3, 3, 0);
    element("ToolBars", "toolbars.bmp", 4, 4, 4, 4, 1);
    element("ComboButton", "combobutton.bmp", 3, 3, 3, 3, 1);
    element("SunkEdge", "sunken.bmp", 3, 3, 3, 3, 1);
    element("ExtraImages", "extra.bmp", 0, 0, 0, 0, 1);
    element("Headerbar", "header.bmp", 3, 3, 3, 3, 0);
    key("Frame", 5);
    element("MenuItem", "menuitem.bmp", 4, 4, 4, 4, 1);
    key("NormalColour", Rgb(l_.fieldText));
    key("MouseOverColour", Rgb(l_.accentText));
    element("MenuBackground", "menuback.bmp", 4, 3, 3, 3, 0);
    element("Scrollbar", "scrollbar.bmp", 3, 3, 3, 3, 1);
    element("HorzScroll", "horzscroll.bmp", 2, 2, 2, 2, 0);
    element("VertScroll", "vertscroll.bmp", 2, 2, 2, 2, 0);
    element("HorzScrollThumb", "horzthumb.bmp", 6, 3, 6, 3, 1);
    key("FrameCount", 3);
    element("VertScrollThumb", "vertthumb.bmp", 3, 6, 3, 6, 1);
    key("FrameCount", 3);
    const char* thumbs[6][2] = {
        {"Trackbar.ThumbHorz", "thumbhorz.bmp"}, {"Trackbar.ThumbVert", "thumbvert.bmp"},
        {"Trackbar.ThumbLeft", "thumbleft.bmp"}, {"Trackbar.ThumbRight", "thumbright.bmp"},
        {"Trackbar.ThumbUp", "thumbup.bmp"},     {"Trackbar.ThumbDown", "thumbdown.bmp"}};
    for (const auto& thumb : thumbs) element(thumb[0], thumb[1], 3, 3, 3, 3, 1);
    element("UpDown.Horz", "updownhorz.bmp", 3, 3, 3, 3, 1);
    element("UpDown.Vert", "updownvert.bmp", 3, 3, 3, 3, 1);
    element("Track", "track.bmp", 3, 2, 3, 2, 1);
    element("TRACKVERT", "trackvert.bmp", 2, 3, 2, 3, 1);
    return ini.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

}  // namespace

DrawnSkin DrawSkin(const SkinLook& look) {
    return SkinPainter(look).Draw();
}

std::map<QString, QImage> DrawProgramBitmaps() {
    std::map<QString, QImage> images;
    const QColor channel(0xC8, 0xC8, 0xC8), outline(0x80, 0x80, 0x80);
    for (const auto& [name, size] :
         {std::pair{"TRACK", QSize(20, 6)}, std::pair{"TRACKVERT", QSize(6, 20)}}) {
        QImage image = Canvas(size.width(), size.height());
        QPainter p(&image);
        Box(p, image.rect(), channel, channel, outline, 2, 1);
        p.end();
        images[name] = image;
    }
    const Glyph glyphs[] = {Glyph::Close, Glyph::Minimise, Glyph::Maximise, Glyph::Restore,
                            Glyph::Check, Glyph::Dot,      Glyph::Right,    Glyph::Help};
    QImage menu(16 * 8, 16, QImage::Format_RGB32);
    menu.fill(Qt::white);
    QPainter p(&menu);
    for (int i = 0; i < 8; ++i) DrawGlyph(p, glyphs[i], QRect(16 * i, 0, 16, 16), Qt::black, 8, 2);
    p.end();
    images["QUILLONMENU"] = menu;
    return images;
}

}  // namespace vardo
