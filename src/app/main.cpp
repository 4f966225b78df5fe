// TilvarBD: the boutique's consignment database.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TilvarBD"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("TilvarBD"));
    window.resize(830, 655);
    window.show();
    return app.exec();
}
