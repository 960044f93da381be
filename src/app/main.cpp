#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ケストラムLite"));
    QMainWindow window;
    window.setWindowTitle(QApplication::applicationName());
    window.show();
    return QApplication::exec();
}
