#pragma once

#include "platform/message.h"

namespace kestrum {

// Shows message boxes. Windows call it; tests substitute a recorder so that no test ever blocks
// on a modal box.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual void show(const Message& message) = 0;
    // An OK/Cancel question whose default is Cancel; true for OK.
    virtual bool confirm(const Message& message) = 0;

    void showAll(const Messages& messages) {
        for (const Message& message : messages)
            show(message);
    }
};

}  // namespace kestrum
