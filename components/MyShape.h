#pragma once

// TMyShape: a light child widget without a background of its own (the parent shows through)
// that draws a line of text, several lines of text or one of a family of diagram symbols, with
// an optional picture background, a 3D frame, resize handles in editing mode and dragging.

#include "ShapeCanvas.h"
#include "TColor.h"

#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QPainter;

namespace vardo {

class TMyShape : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool ShowDot READ ShowDot WRITE SetShowDot)
    Q_PROPERTY(quint8 PenWidth READ PenWidth WRITE SetPenWidth)
    Q_PROPERTY(quint32 FrameWidth READ FrameWidth WRITE SetFrameWidth)
    Q_PROPERTY(bool ShowFrame READ ShowFrame WRITE SetShowFrame)
    Q_PROPERTY(bool Editting READ Editting WRITE SetEditting)
    Q_PROPERTY(bool CanZoom READ CanZoom WRITE SetCanZoom)
    Q_PROPERTY(TDrawShape DrawShape READ DrawShape WRITE SetDrawShape)
    Q_PROPERTY(QMenu* PopUpMenu READ PopUpMenu WRITE SetPopUpMenu)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)
    Q_PROPERTY(bool Visible READ IsVisibleFlag WRITE setVisible)
    Q_PROPERTY(bool Movable READ Movable WRITE SetMovable)
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)
    Q_PROPERTY(TPenStyle PenStyle READ PenStyle WRITE SetPenStyle)
    Q_PROPERTY(QString FontName READ FontName WRITE SetFontName)
    Q_PROPERTY(QString sID READ sID WRITE SetsID)
    Q_PROPERTY(quint32 FontColor READ FontColor WRITE SetFontColor)
    Q_PROPERTY(int FontSize READ FontSize WRITE SetFontSize)
    Q_PROPERTY(TDrawDirection DrawDirection READ DrawDirection WRITE SetDrawDirection)
    Q_PROPERTY(bool bkTransParent READ bkTransParent WRITE SetbkTransParent)
    Q_PROPERTY(quint32 ID READ ID WRITE SetID)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool OrgFontSize READ OrgFontSize WRITE SetOrgFontSize)
    Q_PROPERTY(QPixmap Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(TTextAlign TextAlign READ TextAlign WRITE SetTextAlign)

  public:
    enum TDrawShape {
        dsText,
        dsTriLine,
        dsRelay,
        dsLine,
        dsSwitch1OFF,
        dsSwitch1ON,
        dsSwitch2,
        dsArrow,
        dsInductance,
        dsResistance,
        dsCapacitance,
        dsDiode,
        dsTriangle,
        dsParallelogram,
        dsDiamond,
        dsCircle,
        dsRectangle,
        dsClock,
        dsCompass,
        dsHandwheel,
        dsMultiLine,
        dsTable,
        dsElectroValve,
        dsMotorValve,
        dsDynatron,
        dsGround,
        dsSinWave,
        dsCosWave,
        dsSquaWave,
        dsTriMotor,
        daAcLink,
        dsLight,
        dsBattery,
        dsMultText,
        dsHeightMeter,
    };
    Q_ENUM(TDrawShape)
    static constexpr int DrawShapeCount = dsHeightMeter + 1;

    enum TDrawDirection { ddUp, ddDown, ddLeft, ddRight };
    Q_ENUM(TDrawDirection)

    enum TTextAlign { taLeft, taCenter, taRight };
    Q_ENUM(TTextAlign)

    enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
    Q_ENUM(TPenStyle)

    // The frame drawn around the control while it is pressed and released.
    enum class FrameState { Normal, Raised, Sunken };

    static constexpr int HandleSize = 8;
    static constexpr int MinimumSize = 8;

    explicit TMyShape(QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& value);
    bool ShowDot() const { return showDot_; }
    void SetShowDot(bool value);
    quint8 PenWidth() const { return penWidth_; }
    void SetPenWidth(quint8 value);
    quint32 FrameWidth() const { return frameWidth_; }
    void SetFrameWidth(quint32 value);
    bool ShowFrame() const { return showFrame_; }
    void SetShowFrame(bool value);
    bool Editting() const { return editting_; }
    void SetEditting(bool value);
    bool CanZoom() const { return canZoom_; }
    void SetCanZoom(bool value) { canZoom_ = value; }
    TDrawShape DrawShape() const { return drawShape_; }
    void SetDrawShape(TDrawShape value);
    QMenu* PopUpMenu() const { return popUpMenu_; }
    // The control forgets the menu by itself when the menu is destroyed.
    void SetPopUpMenu(QMenu* value) { popUpMenu_ = value; }
    QFont Font() const { return font_; }
    // Takes every attribute of `value`; FontName and FontSize follow. QFont has no colour, so
    // FontColor keeps its value.
    void SetFont(const QFont& value);
    bool Movable() const { return movable_; }
    void SetMovable(bool value) { movable_ = value; }
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TPenStyle PenStyle() const { return penStyle_; }
    void SetPenStyle(TPenStyle value);
    QString FontName() const { return fontName_; }
    void SetFontName(const QString& value);
    QString sID() const { return sID_; }
    void SetsID(const QString& value) { sID_ = value; }
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);
    int FontSize() const { return fontSize_; }
    void SetFontSize(int value);
    TDrawDirection DrawDirection() const { return drawDirection_; }
    void SetDrawDirection(TDrawDirection value);
    bool bkTransParent() const { return bkTransParent_; }
    void SetbkTransParent(bool value);
    quint32 ID() const { return id_; }
    void SetID(quint32 value) { id_ = value; }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool OrgFontSize() const { return orgFontSize_; }
    void SetOrgFontSize(bool value);
    QPixmap Picture() const { return picture_; }
    // Takes the picture's content without repainting.
    void SetPicture(const QPixmap& value) { picture_ = value; }
    TTextAlign TextAlign() const { return textAlign_; }
    void SetTextAlign(TTextAlign value);

    // Whether the control is to be shown, whether or not its parent is.
    bool IsVisibleFlag() const { return !isHidden(); }

    // The Qt pen style of PenStyle.
    Qt::PenStyle QtPenStyle() const;

    // Paints the whole control at the painter's origin: background, picture, frame, the shape
    // and, in editing mode, the handles.
    void Paint(QPainter& painter);

    // The rectangle of handle 1..8.
    TRect HandleRect(int handle) const;
    // The handle containing (x, y), 0 for none; the first of 1..8 wins.
    int HandleAt(int x, int y) const;

    FrameState CurrentFrameState() const { return frameState_; }
    int ResizeZone() const { return resizeZone_; }
    bool IsPressed() const { return pressed_; }
    bool IsPointerInside() const { return pointerInside_; }

    // The name of the property the popup menu carries while it is open for a control: the
    // control itself, so that the menu's handlers know on which control it was opened.
    static constexpr const char* PopupOwnerProperty = "PopupOwner";

  signals:
    void click();
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseMove(Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseEnter();
    void mouseExit();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    // Ends a press; false when a mouseUp handler destroyed the control.
    bool Release(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
    // Shows the popup menu until it closes; false when the control did not survive it.
    bool ShowPopUpMenu(QPoint position);
    void ResizeByZone(QPoint screenPoint);
    void SetResizeZoneCursor(int zone);
    template <typename T>
    void StoreAndRepaint(T& field, const T& value);

    QString caption_;
    bool showDot_ = false;
    quint8 penWidth_ = 3;
    quint32 frameWidth_ = 1;
    bool showFrame_ = false;
    bool editting_ = false;
    bool canZoom_ = false;
    TDrawShape drawShape_ = dsText;
    QPointer<QMenu> popUpMenu_;
    QFont font_;
    bool movable_ = false;
    TColor color_ = clBlue;
    TPenStyle penStyle_ = psSolid;
    QString fontName_ = QStringLiteral("宋体");
    QString sID_;
    TColor fontColor_ = clWhite;
    int fontSize_ = 9;
    TDrawDirection drawDirection_ = ddRight;
    bool bkTransParent_ = true;
    quint32 id_ = 0;
    bool stretch_ = false;
    bool orgFontSize_ = false;
    QPixmap picture_;
    TTextAlign textAlign_ = taCenter;

    bool pressed_ = false;
    bool pointerInside_ = false;
    FrameState frameState_ = FrameState::Normal;
    int resizeZone_ = 0;
    QPoint pressPoint_;
    QPoint lastScreenPoint_;
};

}  // namespace vardo
