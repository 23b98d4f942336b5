#pragma once

#include <QImage>
#include <QMenu>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

#include "TColor.h"

// The 3D dark shadow system colour, the darkest edge of the dark and mono frames.
inline constexpr TColor cl3DDkShadow = SystemColorFlag | 21;

// A push button that draws only a frame, an optional glyph and a caption over whatever its parent
// painted. TTransparentButton and TMyTransBtn share all of it; they differ only in their
// defaults, in the mouse buttons that open the popup menu and in what a click does.
//
// Unlike a window-less control it also takes keyboard focus by Tab, and Space or Enter clicks it,
// so an operator without a mouse can work the program.
class TransparentButtonBase : public QWidget {
    Q_OBJECT
  public:
    enum TFrameStyle { fsRegular, fsIndent, fsExplorer, fsNone, fsLight, fsDark, fsMono };
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

    bool autoGray() const { return autoGray_; }
    void setAutoGray(bool value) { autoGray_ = value; }
    int borderWidth() const { return borderWidth_; }
    void setBorderWidth(int value) { Store(borderWidth_, value); }
    // "&" marks the accelerator letter.
    QString caption() const { return caption_; }
    void setCaption(const QString& value);
    bool down() const { return down_; }
    void setDown(bool value);
    TFrameStyle frameStyle() const { return frameStyle_; }
    void setFrameStyle(TFrameStyle value) { Store(frameStyle_, value); }
    // A strip of numGlyphs equal cells side by side. Setting it prepares the images to draw and
    // may change numGlyphs.
    const QImage& glyph() const { return glyph_; }
    void setGlyph(const QImage& image);
    int numGlyphs() const { return numGlyphs_; }
    // 1 to 4; the prepared images are not rebuilt.
    void setNumGlyphs(int value) { Store(numGlyphs_, value); }
    QMenu* popupMenu() const { return popupMenu_; }
    void setPopupMenu(QMenu* menu) { popupMenu_ = menu; }
    bool showPressed() const { return showPressed_; }
    void setShowPressed(bool value) { showPressed_ = value; }
    int spacing() const { return spacing_; }
    void setSpacing(int value) { Store(spacing_, value); }
    TTextAlign textAlign() const { return textAlign_; }
    void setTextAlign(TTextAlign value) { Store(textAlign_, value); }
    bool transparent() const { return transparent_; }
    void setTransparent(bool value) { Store(transparent_, value); }
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool value) { Store(wordWrap_, value); }
    bool movable() const { return movable_; }
    void setMovable(bool value) { movable_ = value; }

    // Run-time state, for drawing and tests.
    bool pressedLook() const { return pressedLook_; }
    bool hover() const { return hover_; }

    // The prepared images: the glyph cells, then the grey copy and the etched disabled copy of
    // the first cell.
    const std::vector<QImage>& glyphImages() const { return glyphImages_; }

  public slots:
    // Clicks the button as a release of the left mouse button inside it would; a disabled button
    // ignores it.
    void click();

  signals:
    void clicked();
    void mouseEntered();
    void mouseExited();

  protected:
    explicit TransparentButtonBase(QWidget* parent);

    // Whether a press of button opens the popup menu.
    virtual bool OpensMenuOn(Qt::MouseButton button) const = 0;
    // What a click does beyond the checks of click().
    virtual void Click() = 0;
    void ClearPressedLook() { pressedLook_ = false; }

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    template <typename Value>
    void Store(Value& field, const Value& value) {
        if (field == value) return;
        field = value;
        update();
    }
    void RebuildGlyphImages();
    void ReleaseHandling();
    void GrabAccelerator();
    void DrawBackground(QPainter& painter) const;
    void DrawFrame(QPainter& painter) const;
    void DrawGlyph(QPainter& painter, QPoint at) const;
    void DrawCaption(QPainter& painter, int glyphTop, int glyphHeight) const;
    void DrawFocus(QPainter& painter) const;
    // The prepared image to draw now, or null.
    const QImage* CurrentGlyphImage() const;

    bool autoGray_ = true;
    int borderWidth_ = 1;
    QString caption_;
    bool down_ = false;
    TFrameStyle frameStyle_ = fsExplorer;
    QImage glyph_;
    int numGlyphs_ = 1;
    QPointer<QMenu> popupMenu_;
    bool showPressed_ = true;
    int spacing_ = 2;
    TTextAlign textAlign_ = ttaCenter;
    bool transparent_ = true;
    bool wordWrap_ = false;
    bool movable_ = false;

    bool held_ = false;
    Qt::MouseButton heldButton_ = Qt::NoButton;
    bool tracking_ = false;
    bool pressedLook_ = false;
    bool hover_ = false;
    QPoint pressPoint_;
    int acceleratorId_ = 0;
    std::vector<QImage> glyphImages_;
};
