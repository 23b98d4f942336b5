#pragma once

#include <QWidget>

class QLabel;

namespace vardo {

// The reminder pop-up: a small black always-on-top window whose green label tells which task
// has been running for how long. Every reminder is a window of its own, destroyed when closed.
class TFrmMM : public QWidget {
    Q_OBJECT

  public:
    // Design size of the window and its smallest size; on X the frame belongs to the window
    // manager, so both apply to the client area.
    static constexpr QSize kDesignSize{624, 126};
    static constexpr QSize kMinimumSize{200, 80};
    static constexpr int kSnapDistance = 20;
    static constexpr int kFontPixels = 29;

    explicit TFrmMM(QWidget* parent = nullptr);

    QLabel* plMM() const { return plMM_; }

    // The frame position after snapping to the edges of `area` that lie within `distance`.
    static QPoint SnapToEdges(const QRect& frame, const QRect& area, int distance);

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    void FormShow();
    int LabelHeight() const;
    void PlaceLabel();  // the label across the client area, as high as its wrapped text
    void FitHeightToText();  // the window as high as the client area's wrapped text needs

    QLabel* plMM_;
    bool snapping_ = false;
};

}  // namespace vardo
