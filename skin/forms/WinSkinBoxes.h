#pragma once

// The skinners of the controls that hold others or show an amount: group boxes, tab bars and the
// panes of tab widgets, progress bars, and panels, embedded forms and tool bars.

#include <QVariant>

#include <memory>
#include <vector>

#include "WinSkinControl.h"

namespace vardo {

// Group boxes: the GroupBoxEdge element around the content (frame 1, frame 2 when disabled), the
// title on the GroupBox element in the skin's text colour, and for a checkable box the check image
// of the Buttons element where the box takes its clicks. A radio or check group also skins the
// buttons it holds.
class TSkinGroupBox : public TSkinControl {
    Q_OBJECT
  public:
    enum class TGroupButtons { None, Radio, Check };

    TSkinGroupBox(QWidget& control, TSkinData& data, TGroupButtons buttons = TGroupButtons::None);

    void InitSkin(bool setColour) override;

  protected:
    bool CanPaint() const override;
    void Paint(QPainter& painter, const QRect& rect) override;

  private:
    TGroupButtons groupButtons_;
    std::vector<std::unique_ptr<TSkinControl>> buttons_;
};

// Tab bars and the panes of tab widgets. Each tab is drawn from the Tabs element in the frame of
// its state (1 normal, 2 selected, 3 disabled, 4 under the mouse, 5 selected while the bar has
// the focus), turned to the side the tabs open to; a tab widget's pane from Tab.Pane.
class TSkinTab : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;

    // The frame of the Tabs element for a tab's state.
    static int TabFrame(bool enabled, bool selected, bool hot, bool barFocused);

  protected:
    bool CanPaint() const override;
    void AfterMessage(QEvent* event) override;
    void Paint(QPainter& painter, const QRect& rect) override;

  private:
    void PaintTabs(QPainter& painter);
    void PaintPane(QPainter& painter);
};

// Progress bars: the trough from frame 1 of Progress, the done share from Progress.Chunk (tiled
// chunks or one stretched chunk, as the element says) or, without it, from frame 2 of Progress;
// the bar's text in the skin's text colour.
class TSkinProgress : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;

  protected:
    bool CanPaint() const override;
    void Paint(QPainter& painter, const QRect& rect) override;
};

// Panels and embedded forms: their background becomes the skin's form background (ButtonFace) and
// the text on them the skin's text colour; they keep drawing their own frames and captions. A
// panel with a "Color" property takes the colour there too.
class TSkinBox : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;
    ~TSkinBox() override;

    // Sets the control's "Transparent" property to true while it is skinned.
    void MakeTransparent();

    void InitSkin(bool setColour) override;
    void UnSkin() override;
    void Refresh() override;

  private:
    void TakeSkinText();
    void SetProperty(const char* name, const QVariant& value);
    void GiveBackProperties();

    struct KeptProperty {
        const char* name;
        QVariant value;
    };
    std::vector<KeptProperty> kept_;
};

// Tool bars, and dialogs embedded in the windows of others: the skinner paints their background
// itself, from the generated tool bar background when the options ask for it, else ButtonFace.
class TSkinBoxH : public TSkinControl {
    Q_OBJECT
  public:
    using TSkinControl::TSkinControl;

  protected:
    bool CanPaint() const override { return true; }
    void Paint(QPainter& painter, const QRect& rect) override;
};

// The factory's rows for these controls, by class and by the kind of a Skin3rd line; null when
// the row does not apply or its member is not in SkinControls.
std::unique_ptr<TSkinControl> SkinBoxByClass(QWidget& control, TSkinData& data);
std::unique_ptr<TSkinControl> SkinBoxByKind(QWidget& control, TSkinData& data, const QString& kind);

}  // namespace vardo
