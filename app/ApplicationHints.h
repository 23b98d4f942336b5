#pragma once

#include <QObject>
#include <QProxyStyle>

class QApplication;

namespace vardo {

// The program's hint (tooltip) behaviour: shown 20 ms after the pointer rests, kept for
// 10 seconds, on a white background.
class ApplicationHints final : public QObject {
    Q_OBJECT
  public:
    static constexpr int kShowDelayMs = 20;
    static constexpr int kShowTimeMs = 10'000;

    // Installs the hint behaviour on the application for the lifetime of this object.
    explicit ApplicationHints(QApplication& application);

    ~ApplicationHints() override;

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QApplication& application_;
};

// Supplies the hint delay to Qt, which reads it from the style.
class HintDelayStyle final : public QProxyStyle {
    Q_OBJECT
  public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
};

}  // namespace vardo
