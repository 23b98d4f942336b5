#pragma once

// TMyPanel: a container panel that paints its own background: a flat fill in its colour,
// optional corner images whose key colour is replaced by the panel colour, a frame in one of five
// shapes drawn with its own highlight and shadow colours, and its caption aligned in both
// directions.

#include "RepaintingSetter.h"
#include "TColor.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <array>

namespace vardo {

class ShapeCanvas;
struct TRect;

class TMyPanel : public QWidget {
    Q_OBJECT
    // A panel to the skin engine: skinned panels take the skin's background.
    Q_CLASSINFO("ControlKind", "panel")
    Q_PROPERTY(TAlignment AlignmentHorz READ AlignmentHorz WRITE SetAlignmentHorz)
    Q_PROPERTY(TAlignmentVert AlignmentVert READ AlignmentVert WRITE SetAlignmentVert)
    Q_PROPERTY(quint32 ColorHighlight READ ColorHighlight WRITE SetColorHighlight)
    Q_PROPERTY(quint32 ColorShadow READ ColorShadow WRITE SetColorShadow)
    Q_PROPERTY(bool EdgesTransparent READ EdgesTransparent WRITE SetEdgesTransparent)
    Q_PROPERTY(quint32 TransparentColor READ TransparentColor WRITE SetTransparentColor)
    Q_PROPERTY(TPanelShape PanelShape READ PanelShape WRITE SetPanelShape)
    Q_PROPERTY(TPanelBevel BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(TPanelBevel BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(quint32 Color READ Color WRITE SetColor)

  public:
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    Q_ENUM(TAlignment)
    enum TAlignmentVert { tavTop, tavCenter, tavBottom };
    Q_ENUM(TAlignmentVert)
    enum TPanelShape { ps3DButtonUp, ps3DButtonDown, ps3DFrame, ps3DPanel, psNormal };
    Q_ENUM(TPanelShape)
    // The bevels of the toolkit's panel; a spaced bevel draws as a raised one.
    enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
    Q_ENUM(TPanelBevel)
    enum TEdge { EdgeTopLeft, EdgeTopRight, EdgeBottomLeft, EdgeBottomRight };

    explicit TMyPanel(QWidget* parent = nullptr);

    TAlignment AlignmentHorz() const { return alignmentHorz_; }
    void SetAlignmentHorz(TAlignment value) {
        StoreAndRepaintOnChange(*this, alignmentHorz_, value);
    }
    TAlignmentVert AlignmentVert() const { return alignmentVert_; }
    void SetAlignmentVert(TAlignmentVert value) {
        StoreAndRepaintOnChange(*this, alignmentVert_, value);
    }
    TColor ColorHighlight() const { return colorHighlight_; }
    void SetColorHighlight(TColor value) { StoreAndRepaintOnChange(*this, colorHighlight_, value); }
    TColor ColorShadow() const { return colorShadow_; }
    void SetColorShadow(TColor value) { StoreAndRepaintOnChange(*this, colorShadow_, value); }
    // The corner images; setting one copies it.
    const QImage& Edge(TEdge corner) const { return edges_[corner]; }
    void SetEdge(TEdge corner, const QImage& image);
    bool EdgesTransparent() const { return edgesTransparent_; }
    void SetEdgesTransparent(bool value) {
        StoreAndRepaintOnChange(*this, edgesTransparent_, value);
    }
    TColor TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(TColor value) {
        StoreAndRepaintOnChange(*this, transparentColor_, value);
    }
    TPanelShape PanelShape() const { return panelShape_; }
    void SetPanelShape(TPanelShape value) { StoreAndRepaintOnChange(*this, panelShape_, value); }

    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel value) { StoreAndRepaintOnChange(*this, bevelInner_, value); }
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel value) { StoreAndRepaintOnChange(*this, bevelOuter_, value); }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value) { StoreAndRepaintOnChange(*this, bevelWidth_, value); }
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value) { StoreAndRepaintOnChange(*this, borderWidth_, value); }
    QString Caption() const { return caption_; }
    void SetCaption(const QString& value) { StoreAndRepaintOnChange(*this, caption_, value); }
    TColor Color() const { return color_; }
    void SetColor(TColor value) { StoreAndRepaintOnChange(*this, color_, value); }

    // The width of the frame of every shape but psNormal: the bevel widths, at least 2.
    int FrameThickness() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void DrawEdges(QPainter& painter) const;
    void DrawShapeFrame(ShapeCanvas& canvas) const;
    // psNormal: the bevels and the border; area shrinks to what they leave inside.
    void DrawBevels(ShapeCanvas& canvas, TRect& area) const;
    void DrawCaption(QPainter& painter, const TRect& area) const;

    TAlignment alignmentHorz_ = taCenter;
    TAlignmentVert alignmentVert_ = tavCenter;
    TColor colorHighlight_ = clBtnHighlight;
    TColor colorShadow_ = clBtnShadow;
    std::array<QImage, 4> edges_;
    bool edgesTransparent_ = true;
    TColor transparentColor_ = clWhite;
    TPanelShape panelShape_ = ps3DButtonUp;
    TPanelBevel bevelInner_ = bvNone;
    TPanelBevel bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TColor color_ = clBtnFace;
    QString caption_;
};

}  // namespace vardo
