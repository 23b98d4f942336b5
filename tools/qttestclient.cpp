// qttestclient: a Qt 6 program with one window, for the tests on a Wayland session. It opens a
// 400x300 window captioned with its first argument on whichever window system Qt chooses from the
// environment, and runs until killed.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Qt task"));
    window.resize(400, 300);
    window.show();
    return application.exec();
}
