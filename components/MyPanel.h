#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <array>

#include "TColor.h"

// A container panel that paints its own background: a flat fill in its colour, optional corner
// images whose key colour is replaced by the panel colour, a frame in one of five shapes drawn
// with its own highlight and shadow colours, and its caption aligned in both directions.
class TMyPanel : public QWidget {
    Q_OBJECT
  public:
    enum TAlignment { taLeftJustify, taRightJustify, taCenter };
    enum TAlignmentVert { tavTop, tavCenter, tavBottom };
    enum TPanelShape { ps3DButtonUp, ps3DButtonDown, ps3DFrame, ps3DPanel, psNormal };
    enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
    enum TEdge { EdgeTopLeft, EdgeTopRight, EdgeBottomLeft, EdgeBottomRight };

    explicit TMyPanel(QWidget* parent = nullptr);

    TAlignment alignmentHorz() const { return alignmentHorz_; }
    void setAlignmentHorz(TAlignment value) { Store(alignmentHorz_, value); }
    TAlignmentVert alignmentVert() const { return alignmentVert_; }
    void setAlignmentVert(TAlignmentVert value) { Store(alignmentVert_, value); }
    TColor colorHighlight() const { return colorHighlight_; }
    void setColorHighlight(TColor value) { Store(colorHighlight_, value); }
    TColor colorShadow() const { return colorShadow_; }
    void setColorShadow(TColor value) { Store(colorShadow_, value); }
    bool edgesTransparent() const { return edgesTransparent_; }
    void setEdgesTransparent(bool value) { Store(edgesTransparent_, value); }
    TColor transparentColor() const { return transparentColor_; }
    void setTransparentColor(TColor value) { Store(transparentColor_, value); }
    TPanelShape panelShape() const { return panelShape_; }
    void setPanelShape(TPanelShape value) { Store(panelShape_, value); }
    const QImage& edge(TEdge corner) const { return edges_[corner]; }
    // Copies image into the corner's own image.
    void setEdge(TEdge corner, const QImage& image);

    // The toolkit panel's bevel model, used by the frame thickness and by psNormal.
    TPanelBevel bevelInner() const { return bevelInner_; }
    void setBevelInner(TPanelBevel value) { Store(bevelInner_, value); }
    TPanelBevel bevelOuter() const { return bevelOuter_; }
    void setBevelOuter(TPanelBevel value) { Store(bevelOuter_, value); }
    int bevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int value) { Store(bevelWidth_, value); }
    int borderWidth() const { return borderWidth_; }
    void setBorderWidth(int value) { Store(borderWidth_, value); }
    TColor color() const { return color_; }
    void setColor(TColor value) { Store(color_, value); }
    QString caption() const { return caption_; }
    void setCaption(const QString& value) { Store(caption_, value); }

    // The width of the frame of every shape but psNormal: the bevel widths, at least 2.
    int FrameThickness() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    template <typename Value>
    void Store(Value& field, const Value& value) {
        if (field == value) return;
        field = value;
        update();
    }
    void DrawEdges(QPainter& painter, const QColor& panelColor) const;
    void DrawShapeFrame(QPainter& painter) const;
    // Draws the bevels of psNormal and returns the rectangle left inside them.
    QRect DrawBevels(QPainter& painter) const;
    void DrawCaption(QPainter& painter, const QRect& area) const;

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
