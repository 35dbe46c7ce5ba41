// The program block.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvix"));
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Tarvix"));
    w.resize(800, 600);
    w.show();
    return app.exec();
}
