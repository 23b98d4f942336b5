#pragma once

// The transparent push button shared by TTransparentButton and TMyTransBtn: it draws only a
// frame, an optional glyph and a caption over whatever its parent painted. The two differ only in
// their defaults, in the mouse buttons that open the popup menu and in what a click does.
//
// Unlike a window-less control it also takes keyboard focus by Tab, and Space or Enter clicks
// it, so an operator without a mouse can work the program.

#include <algorithm>

#include "RepaintingSetter.h"
#include "TColor.h"

#include <QImage>
#include <QMenu>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

namespace vardo {

class ShapeCanvas;

class TransparentButtonBase : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool AutoGray READ AutoGray WRITE SetAutoGray)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
    Q_PROPERTY(TFrameStyle FrameStyle READ FrameStyle WRITE SetFrameStyle)
    Q_PROPERTY(QImage Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)
    Q_PROPERTY(QMenu* PopUpMenu READ PopUpMenu WRITE SetPopUpMenu)
    Q_PROPERTY(bool ShowPressed READ ShowPressed WRITE SetShowPressed)
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
    Q_PROPERTY(TTextAlign TextAlign READ TextAlign WRITE SetTextAlign)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool Movable READ Movable WRITE SetMovable)

  public:
    enum TFrameStyle { fsRegular, fsIndent, fsExplorer, fsNone, fsLight, fsDark, fsMono };
    Q_ENUM(TFrameStyle)
    static constexpr int FrameStyleCount = fsMono + 1;
    // Where the caption goes; the glyph takes the opposite side.
    enum TTextAlign {
        ttaTopLeft,
        ttaTop,
        ttaTopRight,
        ttaRight,
        ttaBottomRight,
        ttaBottom,
        ttaBottomLeft,
        ttaLeft,
        ttaCenter
    };
    Q_ENUM(TTextAlign)

    // With fsExplorer, the grey glyph while the pointer is outside.
    bool AutoGray() const { return autoGray_; }
    void SetAutoGray(bool value) { autoGray_ = value; }
    // The frame width of fsRegular, fsIndent and fsExplorer.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value) { StoreAndRepaintOnChange(*this, borderWidth_, value); }
    // "&" marks the accelerator letter.
    QString Caption() const { return caption_; }
    void SetCaption(const QString& value);
    // Sticky pressed state.
    bool Down() const { return down_; }
    void SetDown(bool value);
    TFrameStyle FrameStyle() const { return frameStyle_; }
    void SetFrameStyle(TFrameStyle value) { StoreAndRepaintOnChange(*this, frameStyle_, value); }
    // A strip of NumGlyphs equal cells side by side. Setting it prepares the images to draw and
    // may change NumGlyphs.
    const QImage& Glyph() const { return glyph_; }
    void SetGlyph(const QImage& image);
    // 1 to 4; setting it does not prepare the images again.
    int NumGlyphs() const { return numGlyphs_; }
    // A strip holds 1 to 4 cells; other values are brought into that range.
    void SetNumGlyphs(int value) {
        StoreAndRepaintOnChange(*this, numGlyphs_, std::clamp(value, 1, 4));
    }
    // The control forgets the menu by itself when the menu is destroyed.
    QMenu* PopUpMenu() const { return popUpMenu_; }
    void SetPopUpMenu(QMenu* menu) { popUpMenu_ = menu; }
    // Draw the pressed look, glyph and caption shifted by one pixel, while pressed.
    bool ShowPressed() const { return showPressed_; }
    void SetShowPressed(bool value) { showPressed_ = value; }
    // Pixels between the border, the glyph and the caption.
    int Spacing() const { return spacing_; }
    void SetSpacing(int value) { StoreAndRepaintOnChange(*this, spacing_, value); }
    TTextAlign TextAlign() const { return textAlign_; }
    void SetTextAlign(TTextAlign value) { StoreAndRepaintOnChange(*this, textAlign_, value); }
    // When false the background is filled with the button face colour.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { StoreAndRepaintOnChange(*this, transparent_, value); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value) { StoreAndRepaintOnChange(*this, wordWrap_, value); }
    // The user can drag the button.
    bool Movable() const { return movable_; }
    void SetMovable(bool value) { movable_ = value; }

    bool PressedLook() const { return pressedLook_; }
    bool Hover() const { return hover_; }
    // The prepared images: the glyph cells, then the grey copy and the etched disabled copy of
    // the first cell.
    const std::vector<QImage>& GlyphImages() const { return glyphImages_; }

  public slots:
    // Clicks the button as a release of the left mouse button over it does; a disabled button
    // ignores it.
    void click();

  signals:
    void clicked();
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseMove(Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseEnter();
    void mouseExit();

  protected:
    explicit TransparentButtonBase(QWidget* parent);

    // Whether a press of button opens the popup menu.
    virtual bool OpensMenuOn(Qt::MouseButton button) const = 0;
    // What a click of an enabled button does.
    virtual void Click() = 0;
    void ClearPressedLook() { pressedLook_ = false; }

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void PrepareGlyphImages();
    // The end of a press: the button looks released again unless it is Down.
    void Release(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint point);
    void GrabAccelerator();
    void DrawBackground(ShapeCanvas& canvas) const;
    void DrawFrame(ShapeCanvas& canvas) const;
    // The prepared image to draw now, or null.
    const QImage* CurrentGlyphImage() const;
    void DrawCaption(QPainter& painter, int glyphTop, int glyphHeight) const;
    void DrawFocus(QPainter& painter) const;

    bool autoGray_ = true;
    int borderWidth_ = 1;
    QString caption_;
    bool down_ = false;
    TFrameStyle frameStyle_ = fsExplorer;
    QImage glyph_;
    int numGlyphs_ = 1;
    QPointer<QMenu> popUpMenu_;
    bool showPressed_ = true;
    int spacing_ = 2;
    TTextAlign textAlign_ = ttaCenter;
    bool transparent_ = true;
    bool wordWrap_ = false;
    bool movable_ = false;

    // A mouse button went down on the button and has not come up yet.
    bool held_ = false;
    Qt::MouseButton heldButton_ = Qt::NoButton;
    // The press started inside the button, or the button is Down.
    bool tracking_ = false;
    bool pressedLook_ = false;
    bool hover_ = false;
    QPoint pressPoint_;
    int acceleratorId_ = 0;
    std::vector<QImage> glyphImages_;
};

}  // namespace vardo
