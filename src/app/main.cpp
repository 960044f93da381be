#include "app/application.h"
#include "platform/desktop_data_dir.h"
#include "platform/program_dir.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication qtApplication(argc, argv);
    kestrum::Application application(kestrum::chooseDataDir(
        kestrum::programDir(QCoreApplication::applicationFilePath().toStdString())));
    return application.run();
}
