// The yardstick for the start-up benchmark: a bare Qt main window holding a 50-row table, with the
// same first-paint report as vardo.
#include <QApplication>
#include <QMainWindow>
#include <QTableWidget>

#include "FirstPaintReporter.h"

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
    vardo::FirstPaintReporter reporter;
    reporter.WatchWhenAsked(window);
    window.show();
    return application.exec();
}
