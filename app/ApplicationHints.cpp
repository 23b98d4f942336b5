#include "ApplicationHints.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace vardo {

ApplicationHints::ApplicationHints(QApplication& application) : application_(application) {
    // The application takes ownership of the style.
    QApplication::setStyle(new HintDelayStyle);
    QPalette hint = QToolTip::palette();
    hint.setColor(QPalette::ToolTipBase, Qt::white);
    hint.setColor(QPalette::Window, Qt::white);
    QToolTip::setPalette(hint);
    application.installEventFilter(this);
}

ApplicationHints::~ApplicationHints() {
    application_.removeEventFilter(this);
}

// Qt otherwise keeps a hint for a time that depends on its length.
bool ApplicationHints::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->toolTip().isEmpty()) return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), widget->toolTip(), widget, {}, kShowTimeMs);
    return true;
}

int HintDelayStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                              QStyleHintReturn* returnData) const {
    if (hint == QStyle::SH_ToolTip_WakeUpDelay) return ApplicationHints::kShowDelayMs;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace vardo
