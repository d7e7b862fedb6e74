// The floor of every start-up figure: a frameless Qt window of the game's size that paints
// nothing of its own, started and measured beside the game by scripts/benchmark.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setWindowTitle("BareWindow");
    window.setFixedSize(634, 373);
    window.show();
    return app.exec();
}
