#pragma once

#include "platform/message_presenter.h"

class QWidget;

namespace kestrum {

// Message boxes with QMessageBox, modal over the active window. A message without a caption
// takes the application title.
class DesktopMessagePresenter final : public MessagePresenter {
public:
    // A plain box for Icon::None, the information icon, or the stop icon; one OK button.
    void show(const Message& message) override;
    // OK and Cancel, Cancel the default (Enter does not confirm by accident); true for OK.
    bool confirm(const Message& message) override;
};

}  // namespace kestrum
