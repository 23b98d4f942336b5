// The yardstick for the start-up benchmark: a bare Qt main window holding a 50-row table, with the
// same first-paint report as vardo.
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTableWidget>
#include <cstdio>
#include <cstdlib>

namespace {

class FirstPaintReporter final : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            std::fputs("vardo: first paint\n", stderr);
            std::fflush(stderr);
            watched->removeEventFilter(this);
        }
        return false;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    auto* table = new QTableWidget(50, 16, &window);
    for (int row = 0; row < 50; ++row) {
        for (int column = 0; column < 16; ++column) {
            table->setItem(row, column, new QTableWidgetItem(QString::number(row * 16 + column)));
        }
    }
    window.setCentralWidget(table);
    window.resize(792, 566);
    FirstPaintReporter reporter;
    if (std::getenv("VARDO_REPORT_FIRST_PAINT")) window.installEventFilter(&reporter);
    window.show();
    return application.exec();
}
