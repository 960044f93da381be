#include "platform/desktop_message_presenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace kestrum {

namespace {

QMessageBox::Icon boxIcon(Message::Icon icon) {
    switch (icon) {
        case Message::Icon::Information:
            return QMessageBox::Information;
        case Message::Icon::Stop:
            return QMessageBox::Critical;
        case Message::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

int runBox(const Message& message, QMessageBox::StandardButtons buttons,
           QMessageBox::StandardButton defaultButton) {
    const QString caption = message.caption.empty() ? QApplication::applicationName()
                                                    : QString::fromStdString(message.caption);
    QMessageBox box(boxIcon(message.icon), caption, QString::fromStdString(message.text), buttons,
                    QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
    return box.exec();
}

}  // namespace

void DesktopMessagePresenter::show(const Message& message) {
    runBox(message, QMessageBox::Ok, QMessageBox::Ok);
}

bool DesktopMessagePresenter::confirm(const Message& message) {
    return runBox(message, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

}  // namespace kestrum
