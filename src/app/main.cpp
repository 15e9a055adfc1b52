// mkconf: the desktop configurator.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Просмотр и настройка параметров МК (Версия 16.04.19)"));
    window.show();
    return app.exec();
}
