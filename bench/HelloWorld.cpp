// The peer of the start-up bench: the least a Qt Widgets program does to show a window.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel hello(QStringLiteral("Hello, world"));
    hello.setWindowTitle(QStringLiteral("Hello"));
    hello.show();
    return QApplication::exec();
}
